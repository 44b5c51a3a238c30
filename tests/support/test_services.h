#pragma once
// The product's services as the tests make them in the test prefix's real
// Service Control Manager, under the product's names and running the
// project's service program, and removed again with everything they made.
#include <windows.h>

#include <string>

// How the service program behaves (its Parameters values; 0 leaves one out).
struct ServiceBehaviour {
    DWORD stopMilliseconds = 0;
    DWORD stopStalls = 0;
    DWORD stopWaitHint = 0;
    DWORD neverStart = 0;
};
constexpr DWORD kNeverStops = 0xFFFFFFFF;

// One product service, registered under the service name of bank string
// `nameId` (relative to the English bank), running `program`, under the
// prefix's own user. The destructor ends its process if it still runs,
// deletes it and waits until the manager has let go of the name.
class TestService {
public:
    TestService(UINT nameId, const std::wstring& program, DWORD startType = SERVICE_DEMAND_START,
                ServiceBehaviour behaviour = {});
    ~TestService();
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;

    bool Created() const { return created_; }
    const std::wstring& Name() const { return name_; }
    // Starts it and waits until it runs.
    bool Start();
    // Replaces its behaviour; the program reads it when the service starts.
    void SetBehaviour(const ServiceBehaviour& behaviour);

private:
    std::wstring name_;
    bool created_ = false;
};

// The current state of the service `name` (SERVICE_RUNNING, ...), 0 when it
// does not exist.
DWORD ServiceState(const std::wstring& name);

// The process that runs the service `name`, 0 when none.
DWORD ServiceProcess(const std::wstring& name);

// Waits until the service `name` is in `state` (0: deleted).
bool WaitForServiceState(const std::wstring& name, DWORD state, DWORD timeoutMs = 10000);

// The service name of bank string `nameId`, relative to the English bank.
std::wstring ServiceName(UINT nameId);
