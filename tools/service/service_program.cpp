// twservice: a small Windows service program. The test fixtures install it
// as the product's three service executables (twnser.exe, twserver.exe,
// twnetns.exe), so setup stops, removes and starts real services.
//
// It dispatches the product's three services by name, so one process can
// carry any of them whether the Service Control Manager runs them in a
// shared process or each in its own. A service reports running, accepts
// stop and shutdown, and then reports stopped.
//
// A test makes a service slow to stop with the DWORD value StopMilliseconds
// under its own key, HKLM\System\CurrentControlSet\Services\<name>\Parameters,
// read when the service starts: after the stop request it reports
// stop-pending that long, with checkpoint 1 and no wait hint, as many
// services do while they wind down.
#include <windows.h>

namespace {

const wchar_t* const kServiceNames[] = {
    L"Velmar Advertising and Naming Service",
    L"Velmar RPC Interfaces Service",
    L"VelmarAgentBrowser",
};
constexpr int kServiceCount = sizeof kServiceNames / sizeof kServiceNames[0];

struct Service {
    SERVICE_STATUS_HANDLE handle;
    HANDLE stopRequested;
    SERVICE_STATUS status;
    DWORD stopMilliseconds;
};
Service services[kServiceCount];

DWORD ReadStopMilliseconds(const wchar_t* name)
{
    wchar_t key[400];
    if (wsprintfW(key, L"System\\CurrentControlSet\\Services\\%.300s\\Parameters", name) <= 0)
        return 0;
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"StopMilliseconds", RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return 0;
    return value;
}

void Report(Service& service, DWORD state)
{
    service.status.dwCurrentState = state;
    service.status.dwCheckPoint = state == SERVICE_STOP_PENDING ? 1 : 0;
    service.status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    SetServiceStatus(service.handle, &service.status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void* context)
{
    auto service = static_cast<Service*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        if (service->stopMilliseconds)
            Report(*service, SERVICE_STOP_PENDING);
        SetEvent(service->stopRequested);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD argc, wchar_t** argv)
{
    int index = 0;
    while (index < kServiceCount && (argc == 0 || lstrcmpiW(argv[0], kServiceNames[index]) != 0))
        ++index;
    if (index == kServiceCount)
        return;
    Service& service = services[index];
    service.handle = RegisterServiceCtrlHandlerExW(kServiceNames[index], Control, &service);
    if (!service.handle)
        return;
    service.status.dwServiceType = SERVICE_WIN32;
    service.stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    service.stopMilliseconds = ReadStopMilliseconds(kServiceNames[index]);
    Report(service, SERVICE_RUNNING);
    WaitForSingleObject(service.stopRequested, INFINITE);
    Sleep(service.stopMilliseconds);
    Report(service, SERVICE_STOPPED);
}

}  // namespace

int wmain()
{
    SERVICE_TABLE_ENTRYW table[kServiceCount + 1] = {};
    for (int i = 0; i < kServiceCount; ++i)
        table[i] = {const_cast<wchar_t*>(kServiceNames[i]), ServiceMain};
    return StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(GetLastError());
}
