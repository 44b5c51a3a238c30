#pragma once
// The product's services as the tests make them in the test prefix's real
// Service Control Manager: under the product's names, running the project's
// service program under the prefix's own user, and removed again with all
// they made.
#include <windows.h>

#include <string>

namespace support {

// The service named by bank string `nameId` (relative to the English bank).
// When it goes, its process is ended and it is deleted and gone.
class TestService {
public:
    TestService(UINT nameId, const std::wstring& program, DWORD startType = SERVICE_DEMAND_START);
    ~TestService();
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;

    bool Created() const { return created_; }
    const std::wstring& Name() const { return name_; }
    bool Start();  // and waits until it runs

private:
    std::wstring name_;
    bool created_ = false;
};

// Ends the service `name`'s process, then deletes it and waits until it
// is gone.
void RemoveService(const std::wstring& name);
// Ends and deletes the product's three services wherever a test or an
// install left them.
void RemoveProductServices();
// Removes all an install in C:\TAPWRITE makes: its services first (they run
// its programs, which would hold the files in use), the files, the program
// group's Start Menu folder, the product's registry and the library in the
// system directory.
void RemoveProductInstall();

// The state of the service `name` (SERVICE_RUNNING, ...); 0 when absent.
DWORD ServiceState(const std::wstring& name);
// The process running the service `name`; 0 when none.
DWORD ServiceProcess(const std::wstring& name);
bool WaitForServiceState(const std::wstring& name, DWORD state, DWORD timeoutMs = 10000);

// Counts the opens of the Service Control Manager that setup's code makes
// through the platform-call table while it lives.
class ManagerOpens {
public:
    ManagerOpens();
    ~ManagerOpens();
    ManagerOpens(const ManagerOpens&) = delete;
    ManagerOpens& operator=(const ManagerOpens&) = delete;

    // The opens since the last Take, and starts counting afresh.
    int Take();

private:
    static SC_HANDLE WINAPI Count(LPCWSTR machine, LPCWSTR database, DWORD access);
};

}  // namespace support
