// A test build of setup.exe: the program as it ships, with some platform
// calls answered otherwise, for the branches Wine cannot produce. Never
// shipped.
//
// SETUP_SIMULATION=logon-failure makes the first service start fail with a
// logon failure. SETUP_SIMULATION=account-missing makes the account
// "Velmar Service Acct" missing until setup creates it, then the prefix's
// own user, whom the services run as. SETUP_SIMULATION=restart-fails makes
// the restart call fail. SETUP_PROGMAN, when set, names the
// DDE application that setup takes for Program Manager: a test's own server.
#include <windows.h>

#include <string>

#include "program/setup_main.h"
#include "shell/hooks.h"
#include "shell/platform_calls.h"

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

constexpr wchar_t kMissingUser[] = L"Velmar Service Acct";
decltype(&::LookupAccountNameW) realLookup;
bool accountCreated = false;

BOOL WINAPI LookupMissingAccount(LPCWSTR system, LPCWSTR name, PSID sid, LPDWORD sidBytes, LPWSTR domain,
                                 LPDWORD domainChars, PSID_NAME_USE kind)
{
    if (lstrcmpiW(name, kMissingUser) != 0)
        return realLookup(system, name, sid, sidBytes, domain, domainChars, kind);
    wchar_t user[UNLEN + 1];
    DWORD chars = ARRAYSIZE(user);
    if (accountCreated && GetUserNameW(user, &chars))
        return realLookup(system, user, sid, sidBytes, domain, domainChars, kind);
    SetLastError(ERROR_NONE_MAPPED);
    return FALSE;
}

NET_API_STATUS WINAPI AddMissingAccount(LPCWSTR, DWORD level, LPBYTE buffer, LPDWORD)
{
    if (level != 1 || lstrcmpiW(reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_name, kMissingUser) != 0)
        return ERROR_INVALID_PARAMETER;
    accountCreated = true;
    return NERR_Success;
}

BOOL WINAPI RefuseRestart(UINT, DWORD)
{
    SetLastError(ERROR_NOT_READY);
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
    } else if (std::wstring(scenario) == L"account-missing") {
        realLookup = Platform().LookupAccountNameW;
        Platform().LookupAccountNameW = LookupMissingAccount;
        Platform().NetUserAdd = AddMissingAccount;
    } else if (std::wstring(scenario) == L"restart-fails") {
        RestartSystem = RefuseRestart;
    }
    static wchar_t progman[64];
    const DWORD length = GetEnvironmentVariableW(L"SETUP_PROGMAN", progman, ARRAYSIZE(progman));
    if (length && length < ARRAYSIZE(progman))
        ProgmanApplication = progman;
    return SetupMain(instance, previousInstance, GetCommandLineW(), showCommand);
}
