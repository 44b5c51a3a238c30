#include "program/setup_main.h"

#include <wchar.h>

#include <iterator>

#include "dlg3d/dlg3d.h"
#include "program/run_events.h"
#include "program/start_handler.h"
#include "res/resource_ids.h"
#include "shell/admin_check.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/setup_lock.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"

namespace {

// A bank number outside 1 to 6, or none at all, would leave every text and
// option unresolved; such a value falls back to English.
UINT ReadLanguageBank(const wchar_t* commandLine)
{
    wchar_t argument[8];
    if (!GetOptionArgument(argument, std::size(argument), commandLine, kLanguageOption))
        return 1000;
    wchar_t* end = nullptr;
    long bank = wcstol(argument, &end, 10);
    if (end == argument || bank < 1 || bank > 6)
        return 1000;
    return static_cast<UINT>(bank) * 1000;
}

// "/?": the options and their meaning in the bank's language, and nothing
// else. Unattended, nobody would read them.
void ShowOptions()
{
    if (IsUnattended())
        return;
    wchar_t text[2048];
    LoadBankString(LangBase + IDS_HELP_TEXT, text, std::size(text));
    ShowMessage(LangBase + IDS_HELP_TITLE, text, MB_OK, MB_ICONINFORMATION);
}

// Another setup of the product is at work: this one says so (a deployment
// tool tries again later on its code) and ends having changed nothing.
int EndForAnotherSetup()
{
    ReportRunStart();
    AskUser(LangBase + IDS_BUSY_TITLE, LangBase + IDS_BUSY_TEXT, MB_OK, MB_ICONEXCLAMATION, IDOK);
    ReportRunEnd(kExitAnotherSetupRunning);
    return kExitAnotherSetupRunning;
}

}  // namespace

void ReadCommandLine(const wchar_t* commandLine)
{
    CommandLine = commandLine ? commandLine : L"";
    LangBase = ReadLanguageBank(CommandLine);
    LanguageGiven = HasOption(CommandLine, kLanguageOption);
    MaintenanceMode = HasBankOption(IDS_OPT_MAINTENANCE);
    if (MaintenanceMode) {
        if (!GetOptionArgument(SourcePath, std::size(SourcePath), CommandLine, LangBase + IDS_OPT_MAINTENANCE) ||
            SourcePath[0] == 0)
            lstrcpyW(SourcePath, L"A:\\");
    } else {
        GetProgramDirectory(SourcePath);
    }
}

int SetupMain(HINSTANCE instance, HINSTANCE, const wchar_t* commandLine, int)
{
    ResetSetupState(instance, commandLine);
    ReadCommandLine(commandLine);
    if (HasHelpOption(CommandLine)) {
        ShowOptions();
        return kExitCompleted;
    }
    SetupLock lock;
    if (!lock.Held())
        return EndForAnotherSetup();
    IsAdmin = IsAdministrator();
    if (Register3dControls(instance))
        AutoSubclass3d(instance);

    HBRUSH backdrop = CreateSolidBrush(RGB(0, 0, 64));
    RegisterSetupClasses(instance, backdrop);
    HWND frame = CreateFrameWindow(instance, RunStartHandler);

    HDC screen = GetDC(frame);
    PaletteDisplay = GetDeviceCaps(screen, BITSPIXEL) == 8;
    ReleaseDC(frame, screen);
    LoadBillboards();

    ShowWindow(frame, SW_SHOWMAXIMIZED);
    UpdateWindow(frame);
    PostMessageW(frame, WM_SETUP_START, 0, 0);

    int exitCode = RunMessageLoop();
    ReportRunEnd(exitCode);
    // Whatever path the run took, the service account's password does not
    // outlive it.
    SecureZeroMemory(ServiceAccount.password, sizeof ServiceAccount.password);
    DeleteObject(backdrop);
    Unregister3dControls(instance);
    return exitCode;
}
