// A test build of setup.exe: the program as it ships, with its network,
// account and LSA calls answered by a simulated network, so that the
// account branches Wine cannot produce run end to end. Never shipped.
//
// The environment variable SETUP_SIMULATION chooses the network:
//   account-missing  no service account exists yet: setup creates it
//   logon-failure    this computer keeps "bob", an administrator with the
//                    right to log on as a service, and the first service
//                    start fails with a logon failure
// SETUP_PROGMAN, when set, names the DDE application that setup takes for
// Program Manager: a test's own server.
#include <windows.h>

#include <string>

#include "progman/dde_client.h"
#include "services/accounts.h"
#include "shell/setup_main.h"
#include "support/simulated_network.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR, int showCommand)
{
    SimulatedNetwork network;
    wchar_t scenario[32] = {};
    GetEnvironmentVariableW(L"SETUP_SIMULATION", scenario, ARRAYSIZE(scenario));
    if (std::wstring(scenario) == L"logon-failure") {
        const std::wstring bob = network.thisComputer + L"\\bob";
        network.accounts.push_back({network.thisComputer, L"bob"});
        network.administrators[network.thisComputer].push_back(bob);
        network.logonModes[{network.thisComputer, bob}] = kServiceLogonMode;
        network.Fail(SimulatedNetwork::Call::StartServiceW, ERROR_SERVICE_LOGON_FAILED, 1);
    }
    static wchar_t progman[64];
    const DWORD length = GetEnvironmentVariableW(L"SETUP_PROGMAN", progman, ARRAYSIZE(progman));
    if (length && length < ARRAYSIZE(progman))
        ProgmanApplication = progman;
    return SetupMain(instance, previousInstance, GetCommandLineW(), showCommand);
}
