// Maintenance mode, run by setup's installed copy. The uninstall is one
// straight line: the product directory checked, the confirmation, the
// services, the files, the program group, the registry keys, the restart.
// It can be cancelled until the files are gone, and not after.
#include "maint/maintenance.h"

#include <iterator>

#include "files/copy_progress.h"
#include "loader/loader_module.h"
#include "maint/file_removal.h"
#include "maint/maintenance_dialogs.h"
#include "maint/product_directory.h"
#include "maint/restart.h"
#include "progman/program_group.h"
#include "registry/event_source.h"
#include "registry/product_keys.h"
#include "registry/registry_tree.h"
#include "res/resource_ids.h"
#include "services/service_control.h"
#include "shell/message_box.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The directory the uninstall empties: the installed copy's own, and only
// when it is the product's installed directory. A copy started from a disk,
// a download folder or a share would otherwise delete same-named files
// there, and the DATA and CATALOGS trees with a user's backup catalogs.
ProductDirectory FindProductDirectory(wchar_t (&directory)[kPathChars])
{
    if (!GetProgramDirectory(directory)) {
        ShowUnexpectedError(ERROR_FILENAME_EXCED_RANGE);
        return ProductDirectory::NotProduct;
    }
    ProductDirectory found = IdentifyProductDirectory(directory);
    if (found != ProductDirectory::NotProduct)
        return found;
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_NOT_PRODUCT_TEXT, directory);
    AskUser(LangBase + IDS_NOT_PRODUCT_TITLE, text, MB_OK, MB_ICONSTOP, IDOK);
    return found;
}

bool ConfirmUninstall()
{
    return AskUser(LangBase + IDS_UNINSTALL_TITLE, LangBase + IDS_UNINSTALL_QUESTION, MB_YESNO | MB_DEFBUTTON2,
                   MB_ICONQUESTION, IDYES) != IDNO;
}

void StopAndDeleteServices()
{
    if (!IsAdmin) {
        ShowPercentWindow(true);
        return;
    }
    SetActionText(LangBase + IDS_ACTION_CHECKING_SERVICES);
    ShowPercentWindow(true);
    RemoveServices();
}

// The product leaves the list of installed programs with the whole key,
// and its event source with the copy of setup that held its messages.
void RemoveRegistration()
{
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    UnregisterEventMessages();
}

MaintenanceResult Uninstall(HWND frame)
{
    wchar_t directory[kPathChars];
    ProductDirectory found = FindProductDirectory(directory);
    if (found == ProductDirectory::NotProduct || !ConfirmUninstall() || CancelConfirmed)
        return MaintenanceResult::NotCompleted;

    StopAndDeleteServices();
    CopyPercent = 0;
    SetupMode = kModeUninstall;
    SetActionText(LangBase + IDS_ACTION_UNINSTALLING);
    // Only the configuration shows that DATA and CATALOGS hold the
    // product's data; beside a program and setup they may be anyone's.
    if (!RemoveInstalledFiles(directory, found == ProductDirectory::Configured ? TreeRemoval::WithContents
                                                                              : TreeRemoval::OnlyWhenEmpty))
        return MaintenanceResult::NotCompleted;

    RemoveProgramGroup(Instance);
    RaiseOverGroupWindows(frame);
    SetActionText(LangBase + IDS_ACTION_UNINSTALLED);
    SetCopyPercent(95);
    for (const wchar_t* key : kProductKeysRemoved)
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
    RemoveRegistration();
    SetCopyPercent(100);
    // Relabelled after the last drain of the queue, so a press of "OK" is
    // never taken for a cancel.
    wchar_t ok[30];
    LoadBankString(LangBase + IDS_OK, ok, std::size(ok));
    SetWindowTextW(CancelButton, ok);

    if (!AskRestart())
        return MaintenanceResult::Completed;
    return RestartWindows() ? MaintenanceResult::Restarting : MaintenanceResult::RestartFailed;
}

}  // namespace

MaintenanceResult RunMaintenance(HWND frame)
{
    switch (ShowMaintenanceMenu(frame)) {
    case MaintenanceChoice::Loader:
        SetupMode = kModeLoaderInstall;
        return InstallLoaderModule() ? MaintenanceResult::Completed : MaintenanceResult::NotCompleted;
    case MaintenanceChoice::Uninstall:
        return Uninstall(frame);
    case MaintenanceChoice::Exit:
    default:
        return MaintenanceResult::NotCompleted;
    }
}
