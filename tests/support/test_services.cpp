#include "support/test_services.h"

#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"

namespace {

constexpr UINT kEnglish = 1000;

std::wstring ParametersKey(const std::wstring& name)
{
    return L"System\\CurrentControlSet\\Services\\" + name + L"\\Parameters";
}

SERVICE_STATUS_PROCESS QueryStatus(const std::wstring& name, bool& exists)
{
    SERVICE_STATUS_PROCESS status = {};
    exists = false;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceW(manager, name.c_str(), SERVICE_QUERY_STATUS) : nullptr;
    DWORD bytes = 0;
    if (service)
        exists = QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                      sizeof status, &bytes) != FALSE;
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return status;
}

std::wstring UserName()
{
    wchar_t user[257];
    DWORD chars = ARRAYSIZE(user);
    return GetUserNameW(user, &chars) ? user : L"";
}

}  // namespace

std::wstring ServiceName(UINT nameId)
{
    return BankString(kEnglish + nameId);
}

DWORD ServiceState(const std::wstring& name)
{
    bool exists = false;
    SERVICE_STATUS_PROCESS status = QueryStatus(name, exists);
    return exists ? status.dwCurrentState : 0;
}

DWORD ServiceProcess(const std::wstring& name)
{
    bool exists = false;
    return QueryStatus(name, exists).dwProcessId;
}

bool WaitForServiceState(const std::wstring& name, DWORD state, DWORD timeoutMs)
{
    return WaitUntil([&] { return ServiceState(name) == state; }, timeoutMs);
}

TestService::TestService(UINT nameId, const std::wstring& program, DWORD startType, ServiceBehaviour behaviour)
    : name_(ServiceName(nameId))
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return;
    std::wstring account = ComputerName() + L"\\" + UserName();
    SC_HANDLE service = CreateServiceW(manager, name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_SHARE_PROCESS, startType, SERVICE_ERROR_NORMAL,
                                       program.c_str(), nullptr, nullptr, nullptr, account.c_str(), L"x");
    created_ = service != nullptr;
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    if (created_)
        SetBehaviour(behaviour);
}

void TestService::SetBehaviour(const ServiceBehaviour& behaviour)
{
    const std::wstring key = ParametersKey(name_);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
    const struct {
        const wchar_t* name;
        DWORD value;
    } values[] = {{L"StopMilliseconds", behaviour.stopMilliseconds},
                  {L"StopStalls", behaviour.stopStalls},
                  {L"StopWaitHint", behaviour.stopWaitHint},
                  {L"NeverStart", behaviour.neverStart}};
    for (const auto& value : values)
        if (value.value)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), value.name, REG_DWORD, &value.value, sizeof value.value);
}

bool TestService::Start()
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceW(manager, name_.c_str(), SERVICE_START) : nullptr;
    bool started = service && StartServiceW(service, 0, nullptr);
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return started && WaitForServiceState(name_, SERVICE_RUNNING);
}

TestService::~TestService()
{
    if (DWORD id = ServiceProcess(name_)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ParametersKey(name_).c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, ParametersKey(name_).c_str());
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceW(manager, name_.c_str(), DELETE) : nullptr;
    if (service) {
        DeleteService(service);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
    WaitForServiceState(name_, 0);
}
