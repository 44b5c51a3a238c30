// twservice: a small Windows service program. The test fixtures install it
// as the product's three service executables (twnser.exe, twserver.exe,
// twnetns.exe), so setup stops, removes and starts real services.
//
// It dispatches the product's three services by name, so one process can
// carry any of them whether the Service Control Manager runs them in a
// shared process or each in its own. A service reports running, accepts
// stop and shutdown, and then reports stopped. A test changes how it stops
// or starts with DWORD values under the service's own key,
// HKLM\System\CurrentControlSet\Services\<name>\Parameters, read when the
// service starts:
//
//   StopMilliseconds  time spent stop-pending after the stop request, with
//                     the checkpoint advancing every kCheckpointMs;
//                     0xFFFFFFFF: it never stops (default 0)
//   StopStalls        non-zero: after the stop request it reports
//                     stop-pending once and its checkpoint never advances
//   StopWaitHint      the wait hint of its stop-pending reports, in
//                     milliseconds (default 1000)
//   NeverStart        non-zero: it reports stopped at once instead of
//                     running, so the start fails
#include <windows.h>

namespace {

constexpr DWORD kCheckpointMs = 200;
constexpr DWORD kNeverStops = 0xFFFFFFFF;
constexpr DWORD kDefaultWaitHint = 1000;

const wchar_t* const kServiceNames[] = {
    L"Velmar Advertising and Naming Service",
    L"Velmar RPC Interfaces Service",
    L"VelmarAgentBrowser",
};
constexpr int kServiceCount = sizeof kServiceNames / sizeof kServiceNames[0];

struct Behaviour {
    DWORD stopMilliseconds = 0;
    DWORD stopStalls = 0;
    DWORD stopWaitHint = kDefaultWaitHint;
    DWORD neverStart = 0;
};

struct Service {
    SERVICE_STATUS_HANDLE handle;
    HANDLE stopRequested;
    SERVICE_STATUS status;
};
Service services[kServiceCount];

DWORD ReadParameter(HKEY key, const wchar_t* name, DWORD fallback)
{
    DWORD value = 0;
    DWORD bytes = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD || bytes != sizeof value)
        return fallback;
    return value;
}

Behaviour ReadBehaviour(const wchar_t* name)
{
    Behaviour behaviour;
    wchar_t path[400] = L"System\\CurrentControlSet\\Services\\";
    if (lstrlenW(path) + lstrlenW(name) + lstrlenW(L"\\Parameters") >= static_cast<int>(ARRAYSIZE(path)))
        return behaviour;
    lstrcatW(path, name);
    lstrcatW(path, L"\\Parameters");
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return behaviour;
    behaviour.stopMilliseconds = ReadParameter(key, L"StopMilliseconds", behaviour.stopMilliseconds);
    behaviour.stopStalls = ReadParameter(key, L"StopStalls", behaviour.stopStalls);
    behaviour.stopWaitHint = ReadParameter(key, L"StopWaitHint", behaviour.stopWaitHint);
    behaviour.neverStart = ReadParameter(key, L"NeverStart", behaviour.neverStart);
    RegCloseKey(key);
    return behaviour;
}

void Report(Service& service, DWORD state, DWORD checkpoint, DWORD waitHint)
{
    service.status.dwCurrentState = state;
    service.status.dwCheckPoint = checkpoint;
    service.status.dwWaitHint = waitHint;
    service.status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    SetServiceStatus(service.handle, &service.status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void* context)
{
    auto service = static_cast<Service*>(context);
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        SetEvent(service->stopRequested);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

// Stop-pending reports, each with the next checkpoint, until the time is up.
void StopSlowly(Service& service, const Behaviour& behaviour)
{
    DWORD checkpoint = 1;
    Report(service, SERVICE_STOP_PENDING, checkpoint, behaviour.stopWaitHint);
    if (behaviour.stopStalls)
        Sleep(INFINITE);
    for (DWORD spent = 0; behaviour.stopMilliseconds == kNeverStops || spent < behaviour.stopMilliseconds;
         spent += kCheckpointMs) {
        Sleep(kCheckpointMs);
        Report(service, SERVICE_STOP_PENDING, ++checkpoint, behaviour.stopWaitHint);
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
    Behaviour behaviour = ReadBehaviour(kServiceNames[index]);
    if (behaviour.neverStart) {
        service.status.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        service.status.dwServiceSpecificExitCode = 1;
        Report(service, SERVICE_STOPPED, 0, 0);
        return;
    }
    service.stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Report(service, SERVICE_RUNNING, 0, 0);
    WaitForSingleObject(service.stopRequested, INFINITE);
    StopSlowly(service, behaviour);
    Report(service, SERVICE_STOPPED, 0, 0);
}

}  // namespace

int wmain()
{
    SERVICE_TABLE_ENTRYW table[kServiceCount + 1] = {};
    for (int i = 0; i < kServiceCount; ++i)
        table[i] = {const_cast<wchar_t*>(kServiceNames[i]), ServiceMain};
    return StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(GetLastError());
}
