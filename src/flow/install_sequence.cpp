// The install, step by step. Each step belongs to its own unit; this one
// fixes their order, the progress shown between them and what a failure
// ends.
//
// The old services are stopped before the files-in-use check (one that
// will not stop is left to that check), started again when the install ends
// before its copy completes, and removed after it (the copy needs them
// stopped, not gone); the new ones are installed under the
// service account after it. The program group comes last, whether or not
// Program Manager answers; its commands bring Program Manager's group
// windows to the front, so the frame is raised again once they are all
// there (an unattended run ends at once and does not wait, nor raise it).
#include "flow/install_sequence.h"

#include <shellapi.h>

#include <iterator>

#include "files/copy_driver.h"
#include "files/copy_progress.h"
#include "files/destination_checks.h"
#include "files/install_journal.h"
#include "flow/destination.h"
#include "flow/install_undo.h"
#include "progman/program_group.h"
#include "registry/environment_probes.h"
#include "registry/event_source.h"
#include "registry/product_config.h"
#include "registry/uninstall_entry.h"
#include "res/resource_ids.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "services/service_install.h"
#include "shell/late_bound.h"
#include "shell/message_box.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// Asks for the destination until it holds no installation that the user
// wants to keep. False when the install ends there: the dialog was
// cancelled or refused the directory, or the user keeps the installation in
// the directory that "/DEST:" names, which offers no other.
bool ChooseNewDestination(HWND frame, wchar_t* destination)
{
    for (;;) {
        size_t length = wcslen(destination);
        if (length > 1 && destination[length - 1] == L'\\')
            destination[length - 1] = 0;
        if (!ChooseDestination(frame, destination))
            return false;
        if (!ConfirmPriorInstall(destination))
            return true;
        if (HasBankOption(IDS_OPT_DESTINATION))
            return false;
    }
}

void OfferReadme(HWND frame, const wchar_t* destination)
{
    if (AskUser(LangBase + IDS_README_TITLE, LangBase + IDS_README_QUESTION, MB_YESNO, MB_ICONINFORMATION,
                IDNO) != IDYES)
        return;
    wchar_t viewer[20];
    wchar_t name[20];
    LoadBankString(LangBase + IDS_README_VIEWER, viewer, std::size(viewer));
    LoadBankString(LangBase + IDS_FILENAME_README, name, std::size(name));
    wchar_t readme[kJoinedPathChars];
    JoinPath(readme, kJoinedPathChars, destination, name);
    static const auto shellExecute = LateBound<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (shellExecute)
        shellExecute(frame, nullptr, viewer, readme, nullptr, SW_SHOWMAXIMIZED);
}

// The completed install enters the system's list of installed programs, and
// its copy of setup gives the event log the messages of setup's events. A
// user without the rights to either still has the product installed.
void RegisterInstall(const wchar_t* destination)
{
    WriteUninstallEntry(destination, InstalledKilobytes(destination));
    wchar_t setupName[256];
    wchar_t program[kJoinedPathChars];
    LoadBankString(LangBase + IDS_FILENAME_SETUP, setupName, std::size(setupName));
    if (JoinPath(program, std::size(program), destination, setupName))
        RegisterEventMessages(program);
}

}  // namespace

bool RunInstall(HWND frame, wchar_t* destination)
{
    InitCopyProgress();
    // Every way out before undo.Keep() puts back what the install changed.
    InstallUndo undo;

    // A service of the product's names that runs another program is left
    // alone, and the install, which would replace it, ends before anything
    // is changed: the destination step already creates the directory.
    if (IsAdmin && !CheckServiceOwners())
        return false;

    // A cancel confirmed meanwhile (the frame closed while a question was
    // open) ends the install before anything is changed in the directory.
    if (!ChooseNewDestination(frame, destination) || CancelConfirmed)
        return false;
    SetJournalDirectory(destination);

    if (IsAdmin) {
        SetActionText(LangBase + IDS_ACTION_CHECKING_SERVICES);
        ShowPercentWindow(true);
        ServiceWalk check(SC_MANAGER_ALL_ACCESS);
        AgentBrowserEnabled = QueryAgentBrowserEnabled(check);
        StopServices(check);
    } else {
        ShowPercentWindow(true);
    }
    if (CheckFilesInUse(destination) == FilesInUse::Cancelled || CancelConfirmed)
        return false;
    DeleteKnownFiles(destination);

    SetInfoText(BillboardId);
    ShowInfoWindow(true);
    CopyPercent = 0;
    CurrentDisk = 1;
    SetActionText(LangBase + IDS_ACTION_PERFORMING);
    // The server types' configuration, then the files; both name the
    // product directory with its backslash.
    if (!AppendBackslash(destination, kPathChars))
        return false;
    if (InstallType & (kInstallBackupServer | kInstallRemoteAdmin))
        WriteProductConfiguration(destination);
    if (!InstallFileSet(destination))
        return false;
    undo.Keep();
    RemoveServices();

    if (IsAdmin) {
        FixNetworkProviderDeviceName();
        SetActionText(LangBase + IDS_ACTION_INSTALLING_SERVICES);
        if (!InstallServices(destination))
            return false;
    }

    SetActionText(LangBase + IDS_ACTION_PERFORMING);
    if ((InstallType & kInstallBackupServer) && CopyErrorFlag)
        return false;
    SetInfoText(LangBase + IDS_THANK_YOU);
    const int groupWindows = GroupWindowsShown();
    if (CreateProgramGroup(Instance) && !CancelConfirmed && !IsUnattended())
        WaitForGroupWindows(groupWindows);
    // Cancel confirmed while the group is built stops only the group: the
    // product is installed and the run completes. A frame closed meanwhile
    // has ended the run, and nothing more may be shown.
    if (!IsWindow(frame))
        return false;
    RegisterInstall(destination);
    RaiseOverGroupWindows(frame);
    SetActionText(LangBase + IDS_ACTION_COMPLETE);
    SetCopyPercent(95);
    RecordCreatedLevels(destination);

    OfferReadme(frame, destination);

    // The button is relabelled after the last step that drains the queue, so
    // a press of "OK" always arrives once the sequence is done and is never
    // taken for a cancel.
    SetCopyPercent(100);
    wchar_t ok[30];
    LoadBankString(LangBase + IDS_OK, ok, std::size(ok));
    SetWindowTextW(CancelButton, ok);
    return true;
}
