// A test build of setup.exe: the program as it ships, with some platform
// calls answered otherwise, for the branches Wine cannot produce. Never
// shipped.
//
// SETUP_SIMULATION=logon-failure makes the first service start fail with a
// logon failure. SETUP_PROGMAN, when set, names the DDE application that
// setup takes for Program Manager: a test's own server.
#include <windows.h>

#include <string>

#include "progman/dde_client.h"
#include "services/platform_calls.h"
#include "shell/setup_main.h"

namespace {

decltype(&::StartServiceW) realStart;

BOOL WINAPI FailFirstStart(SC_HANDLE service, DWORD count, LPCWSTR* arguments)
{
    static bool failed = false;
    if (failed)
        return realStart(service, count, arguments);
    failed = true;
    SetLastError(ERROR_SERVICE_LOGON_FAILED);
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR, int showCommand)
{
    wchar_t scenario[32] = {};
    GetEnvironmentVariableW(L"SETUP_SIMULATION", scenario, ARRAYSIZE(scenario));
    if (std::wstring(scenario) == L"logon-failure") {
        realStart = Platform().StartServiceW;
        Platform().StartServiceW = FailFirstStart;
    }
    static wchar_t progman[64];
    const DWORD length = GetEnvironmentVariableW(L"SETUP_PROGMAN", progman, ARRAYSIZE(progman));
    if (length && length < ARRAYSIZE(progman))
        ProgmanApplication = progman;
    return SetupMain(instance, previousInstance, GetCommandLineW(), showCommand);
}
