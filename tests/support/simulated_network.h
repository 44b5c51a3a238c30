#pragma once
// A network of domains and computers that answers setup's network, account
// and LSA calls, with scripted failures of those and of the service-manager
// calls (which otherwise reach the real Service Control Manager). Building
// one puts it into setup's platform-call table; destroying it puts back the
// table it found. One at a time. It knows no test framework, so a test build
// of setup can link it too.
//
// Accounts are kept by a store: a domain, or a computer that is no domain
// controller (a controller keeps its domain's). An account is named
// STORE\name; this computer is the one GetComputerNameW names.
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "services/platform_calls.h"

class SimulatedNetwork {
public:
    enum class Call {
        NetGetDCName, NetUserAdd, NetGroupGetUsers, NetLocalGroupGetMembers, NetLocalGroupAddMember,
        NetWkstaGetInfo, WNetOpenEnumW, LsaOpenPolicy, LsaOpenAccount, LsaCreateAccount, LsaGetSystemAccessAccount,
        LsaSetSystemAccessAccount, LsaEnumerateAccountRights, LsaAddAccountRights, CreateServiceW, StartServiceW,
    };
    struct Computer {
        std::wstring name, domain;  // domain empty: in the workgroup
        bool controller;
    };
    struct Domain {
        std::wstring name, controller;     // controller empty: "no domain controller"
        std::vector<std::wstring> trusts;  // their accounts resolve for this domain's computers
    };
    struct Account {
        std::wstring store, name;
        SID_NAME_USE kind = SidTypeUser;
        std::vector<std::wstring> members = {};  // a global group's users
        std::wstring password = L"", comment = L"";
        DWORD privilege = 0, flags = 0;
    };
    // The network browser's tree; the providers' container is "".
    struct BrowseEntry {
        std::wstring container, name;
        DWORD displayType;
    };
    using AccountObject = std::pair<std::wstring, std::wstring>;  // store of the policy, account

    SimulatedNetwork();
    ~SimulatedNetwork();
    SimulatedNetwork(const SimulatedNetwork&) = delete;
    SimulatedNetwork& operator=(const SimulatedNetwork&) = delete;

    // A domain whose controller is `controller` (this computer: it becomes
    // that domain's controller).
    void AddDomain(const std::wstring& domain, const std::wstring& controller,
                   const std::vector<std::wstring>& trusts = {});
    const Account* FindAccount(const std::wstring& store, const std::wstring& name) const;
    bool IsAdministrator(const std::wstring& store, const std::wstring& account) const;
    // `call` answers `status` (a Net status, an NT status or a last-error
    // value, as the call reports) the next `times` times (-1: always).
    void Fail(Call call, DWORD status, int times = -1) { failures[call] = {status, times}; }

    const std::wstring thisComputer;
    std::vector<Computer> computers;  // this computer first
    std::vector<Domain> domains;
    std::vector<Account> accounts;
    std::map<std::wstring, std::vector<std::wstring>> administrators;  // the alias's members by store
    // LSA account objects with their logon modes (the system access mask),
    // which the rights by name read and add to.
    std::map<AccountObject, ULONG> logonModes;
    std::vector<BrowseEntry> browse;
    std::map<Call, std::pair<DWORD, int>> failures;
    std::map<Call, int> calls;
    // Enumerations give this many entries at a time (0: all that fit), each
    // after this delay; those named here answer "more data" with none.
    DWORD pageEntries = 0;
    DWORD enumerationDelayMs = 0;
    std::set<Call> emptyMoreData;
    // The account-object calls answer "not implemented", as where the
    // platform lacks them; the rights by name still work.
    bool withoutAccountObjects = false;

    // Network buffers not yet freed, LSA handles not yet closed, enumerations.
    std::set<void*> buffers;
    std::map<LSA_HANDLE, AccountObject> lsaHandles;
    std::map<HANDLE, std::pair<std::wstring, size_t>> enumerations;
    UINT_PTR lastHandle = 0;
    // The table found, which the calls not simulated go on to.
    PlatformCalls saved;
};
