#include "program/run_events.h"

#include <iterator>

#include "flow/install_type.h"
#include "maint/maintenance_dialogs.h"
#include "res/resource_ids.h"
#include "shell/event_log.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

struct TypeName {
    DWORD installType;
    UINT name;  // the install-type dialog's button
};

const TypeName kTypeNames[] = {
    {kInstallBackupServer, IDS_TYPE_BACKUP},
    {kInstallRemoteAdmin, IDS_TYPE_REMOTE},
    {kInstallJobScopeOnly, IDS_TYPE_JOBSCOPE},
};

// What every start reports besides its task: the bank's language and
// whether the run is unattended.
struct RunSetting {
    wchar_t language[8];
    UINT bank;
    wchar_t unattended[32];
};

void ReadRunSetting(RunSetting& setting)
{
    setting.bank = LangBase / 1000;
    LoadBankString(IDS_LANGUAGE_CODE + setting.bank - 1, setting.language, std::size(setting.language));
    LoadPlainCaption(LangBase + (IsUnattended() ? IDS_YES : IDS_NO), setting.unattended,
                     std::size(setting.unattended));
}

void InstallStartText(wchar_t* text, size_t chars, const RunSetting& setting)
{
    wchar_t type[64];
    LoadBankString(LangBase + IDS_ASKED_IN_DIALOG, type, std::size(type));
    for (const TypeName& name : kTypeNames) {
        if (name.installType == InstallTypeFromOptions())
            LoadPlainCaption(LangBase + name.name, type, std::size(type));
    }
    wchar_t destination[kPathChars];
    if (!GetOptionArgument(destination, std::size(destination), CommandLine, LangBase + IDS_OPT_DESTINATION))
        LoadBankString(LangBase + IDS_ASKED_IN_DIALOG, destination, std::size(destination));
    FormatBankString(text, chars, LangBase + IDS_EVENT_START_INSTALL, type, destination, setting.language,
                     setting.bank, setting.unattended);
}

void MaintenanceStartText(wchar_t* text, size_t chars, const RunSetting& setting)
{
    MaintenanceChoice choice = MaintenanceChoice::Exit;
    UINT task = IDS_TASK_MENU;
    if (MaintenanceChoiceFromOptions(choice))
        task = choice == MaintenanceChoice::Loader ? IDS_TASK_LOADER : IDS_TASK_UNINSTALL;
    wchar_t taskText[64];
    LoadBankString(LangBase + task, taskText, std::size(taskText));
    wchar_t directory[kPathChars];
    GetProgramDirectory(directory);
    FormatBankString(text, chars, LangBase + IDS_EVENT_START_MAINTENANCE, taskText, directory, setting.language,
                     setting.bank, setting.unattended);
}

}  // namespace

void ReportRunStart()
{
    RunSetting setting;
    ReadRunSetting(setting);
    wchar_t text[1025];
    if (MaintenanceMode)
        MaintenanceStartText(text, std::size(text), setting);
    else
        InstallStartText(text, std::size(text), setting);
    ReportSetupEvent(EventKind::Information, text);
}

void ReportRunEnd(int exitCode)
{
    UINT outcome = IDS_OUTCOME_NOT_COMPLETED;
    EventKind kind = EventKind::Error;
    switch (exitCode) {
    case kExitCompleted:
        outcome = IDS_OUTCOME_COMPLETED;
        kind = EventKind::Information;
        break;
    case kExitRestartRequired:
        outcome = IDS_OUTCOME_RESTART;
        kind = EventKind::Information;
        break;
    case kExitAnotherSetupRunning:
        outcome = IDS_OUTCOME_BUSY;
        kind = EventKind::Warning;
        break;
    default:
        break;
    }
    wchar_t outcomeText[256];
    LoadBankString(LangBase + outcome, outcomeText, std::size(outcomeText));
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_EVENT_END, outcomeText, exitCode);
    ReportSetupEvent(kind, text);
}
