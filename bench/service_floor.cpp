#include "service_floor.h"

#include <windows.h>

#include "bench_clock.h"

namespace {

// Dependency lists: names ended by an empty name.
const wchar_t kBrowserDependencies[] = L"+TDI\0";
const wchar_t kServerDependencies[] = L"LanmanServer\0LanmanWorkstation\0";
constexpr DWORD kLongestStopMs = 10000;
constexpr DWORD kStopLookMs = 1;

class Service {
public:
    explicit Service(SC_HANDLE handle) : handle_(handle) {}
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    ~Service()
    {
        if (handle_)
            CloseServiceHandle(handle_);
    }
    SC_HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    SC_HANDLE handle_;
};

bool WorkstationRunning(SC_HANDLE manager)
{
    Service workstation(OpenServiceW(manager, L"LanmanWorkstation", SERVICE_QUERY_STATUS));
    SERVICE_STATUS status;
    return workstation && QueryServiceStatus(workstation.get(), &status) &&
           status.dwCurrentState == SERVICE_RUNNING;
}

bool WaitStopped(SC_HANDLE service)
{
    const DWORD start = GetTickCount();
    SERVICE_STATUS status;
    while (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
        if (GetTickCount() - start > kLongestStopMs)
            return false;
        Sleep(kStopLookMs);
    }
    return status.dwCurrentState == SERVICE_STOPPED;
}

}  // namespace

double CheckServices(const std::vector<FloorService>& services)
{
    const double start = Now();
    Service manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return -1;
    for (const FloorService& wanted : services)
        if (Service(OpenServiceW(manager.get(), wanted.name.c_str(), SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS)))
            return -1;
    return Now() - start;
}

double CreateAndStartServices(const std::vector<FloorService>& services, const std::wstring& destination,
                              const ServiceAccountSpec& account)
{
    const double start = Now();
    Service manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE | SC_MANAGER_CONNECT));
    if (!manager)
        return -1;
    const bool workstation = WorkstationRunning(manager.get());
    for (const FloorService& wanted : services) {
        const std::wstring path = destination + wanted.program;
        const wchar_t* dependencies =
            workstation ? (wanted.browser ? kBrowserDependencies : kServerDependencies) : nullptr;
        Service service(CreateServiceW(manager.get(), wanted.name.c_str(), wanted.displayName.c_str(),
                                       STANDARD_RIGHTS_REQUIRED | SERVICE_START | SERVICE_STOP,
                                       SERVICE_WIN32_OWN_PROCESS,
                                       wanted.disabled ? SERVICE_DISABLED : SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                       path.c_str(), nullptr, nullptr, dependencies, account.name.c_str(),
                                       account.password.c_str()));
        if (!service || (!wanted.disabled && !StartServiceW(service.get(), 0, nullptr)))
            return -1;
    }
    return Now() - start;
}

double StopAndDeleteServices(const std::vector<FloorService>& services)
{
    const double start = Now();
    Service manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return -1;
    std::vector<HANDLE> processes;
    bool ok = true;
    for (const FloorService& wanted : services) {
        Service service(OpenServiceW(manager.get(), wanted.name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
        if (!service) {
            ok = false;
            continue;
        }
        SERVICE_STATUS_PROCESS status;
        DWORD needed = 0;
        if (QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                 sizeof status, &needed) &&
            status.dwCurrentState != SERVICE_STOPPED) {
            if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId))
                processes.push_back(process);
            SERVICE_STATUS stopped;
            ok = ControlService(service.get(), SERVICE_CONTROL_STOP, &stopped) && WaitStopped(service.get()) && ok;
        }
        ok = DeleteService(service.get()) && ok;
    }
    for (HANDLE process : processes) {
        ok = WaitForSingleObject(process, kLongestStopMs) == WAIT_OBJECT_0 && ok;
        CloseHandle(process);
    }
    return ok ? Now() - start : -1;
}
