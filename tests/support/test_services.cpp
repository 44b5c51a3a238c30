#include "support/test_services.h"

#include "res/resource_ids.h"
#include "services/service_handle.h"
#include "shell/platform_calls.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"
#include "support/start_menu.h"

namespace support {

namespace {

decltype(&::OpenSCManagerW) uncountedOpen;
int managerOpens;

SERVICE_STATUS_PROCESS Status(const std::wstring& name)
{
    SERVICE_STATUS_PROCESS status = {};
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    ServiceHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
    DWORD bytes = 0;
    QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                         &bytes);
    return status;
}

}  // namespace

void RemoveService(const std::wstring& name)
{
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ServiceProcess(name))) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
    {
        ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        ServiceHandle service(OpenServiceW(manager.get(), name.c_str(), DELETE));
        DeleteService(service.get());
    }
    WaitForServiceState(name, 0);
}

DWORD ServiceState(const std::wstring& name)
{
    return Status(name).dwCurrentState;
}

DWORD ServiceProcess(const std::wstring& name)
{
    return Status(name).dwProcessId;
}

bool WaitForServiceState(const std::wstring& name, DWORD state, DWORD timeoutMs)
{
    return WaitUntil([&] { return ServiceState(name) == state; }, timeoutMs);
}

ManagerOpens::ManagerOpens()
{
    uncountedOpen = Platform().OpenSCManagerW;
    Platform().OpenSCManagerW = Count;
    managerOpens = 0;
}

ManagerOpens::~ManagerOpens()
{
    Platform().OpenSCManagerW = uncountedOpen;
}

int ManagerOpens::Take()
{
    const int opens = managerOpens;
    managerOpens = 0;
    return opens;
}

SC_HANDLE WINAPI ManagerOpens::Count(LPCWSTR machine, LPCWSTR database, DWORD access)
{
    ++managerOpens;
    return uncountedOpen(machine, database, access);
}

TestService::TestService(UINT nameId, const std::wstring& program, DWORD startType)
    : name_(BankString(1000 + nameId))
{
    const std::wstring account = ComputerName() + L"\\" + UserName();
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle service(CreateServiceW(manager.get(), name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_SHARE_PROCESS, startType, SERVICE_ERROR_NORMAL,
                                         program.c_str(), nullptr, nullptr, nullptr, account.c_str(), L"x"));
    created_ = static_cast<bool>(service);
}

TestService::~TestService()
{
    RemoveService(name_);
}

bool TestService::Start()
{
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    ServiceHandle service(OpenServiceW(manager.get(), name_.c_str(), SERVICE_START));
    return StartServiceW(service.get(), 0, nullptr) && WaitForServiceState(name_, SERVICE_RUNNING);
}

void RemoveProductServices()
{
    for (UINT id : {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER, IDS_SERVICE_BROWSER})
        if (ServiceState(BankString(1000 + id)))
            RemoveService(BankString(1000 + id));
}

void RemoveProductInstall()
{
    RemoveProductServices();
    RemoveTree(L"C:\\TAPWRITE");
    const std::wstring group = StartMenuGroupFolder(BankString(1000 + IDS_GROUP_NAME));
    if (!group.empty())
        RemoveTree(group);
    RemoveProductRegistry();
    DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
}

}  // namespace support
