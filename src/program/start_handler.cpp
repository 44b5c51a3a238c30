#include "program/start_handler.h"

#include <iterator>

#include "flow/install_sequence.h"
#include "flow/install_type.h"
#include "maint/maintenance.h"
#include "program/run_events.h"
#include "res/resource_ids.h"
#include "shell/language.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The Windows directory's drive followed by "\TAPWRITE\NT".
void SetDefaultDestination()
{
    wchar_t windows[255];
    UINT length = GetWindowsDirectoryW(windows, 255);
    if (length == 0 || length >= 255)
        windows[0] = 0;
    wchar_t* backslash = wcschr(windows, L'\\');
    if (backslash)
        *backslash = 0;
    wchar_t tail[255];
    LoadBankString(LangBase + IDS_DEFAULT_DIRECTORY, tail, std::size(tail));
    JoinPath(DestinationPath, kPathChars, windows, tail);
}

// True when the run did everything it set out to do. A run whose cancel was
// confirmed (the frame closed, the session ending) goes no further, so no
// dialog is ever shown without its owner.
bool RunInstallFlow(HWND frame)
{
    if (CancelConfirmed || !ChooseInstallType(frame, InstallType))
        return false;
    return !CancelConfirmed && RunInstall(frame, DestinationPath);
}

// The flow's outcome: maintenance has two more than the install, a restart
// under way (setup ends as completed) and a restart refused after a
// completed uninstall (the window stays, but the run did not do all it was
// asked and ends as not completed).
MaintenanceResult RunChosenFlow(HWND frame)
{
    if (!MaintenanceMode)
        return RunInstallFlow(frame) ? MaintenanceResult::Completed : MaintenanceResult::NotCompleted;
    InstallType = kInstallBackupServer;
    return CancelConfirmed ? MaintenanceResult::NotCompleted : RunMaintenance(frame);
}

}  // namespace

LRESULT RunStartHandler(HWND frame)
{
    PumpMessages();
    bool languageFixed = true;
    if (LanguageGiven)
        SetLanguage(LangBase);
    else
        languageFixed = ChooseLanguage(frame);

    ReportRunStart();

    MaintenanceResult result = MaintenanceResult::NotCompleted;
    if (languageFixed) {
        SetDefaultDestination();
        result = RunChosenFlow(frame);
    }
    // A completed run stays up until the user presses the button, which now
    // reads "OK"; an unattended one ends at once.
    switch (result) {
    case MaintenanceResult::NotCompleted:
        RequestProgramEnd(kExitNotCompleted);
        break;
    case MaintenanceResult::Restarting:
        RequestProgramEnd(kExitCompleted);
        break;
    case MaintenanceResult::RestartFailed:
        RaiseExitCode(kExitNotCompleted);
        if (IsUnattended())
            RequestProgramEnd(kExitNotCompleted);
        break;
    case MaintenanceResult::Completed: {
        // Tools take this code as "restart soon"; a run that restarts the
        // system itself has no restart left to ask for.
        const int completed = RestartWorkLeft ? kExitRestartRequired : kExitCompleted;
        RaiseExitCode(completed);
        if (IsUnattended())
            RequestProgramEnd(completed);
        break;
    }
    }

    // The panel takes the keys of a run that stays up. An unattended run
    // ends here, and moving the focus into its window would first activate
    // it, which visits every top-level window.
    if (PercentWindow && !IsUnattended())
        SetFocus(PercentWindow);
    SequenceDone = true;
    return 0;
}
