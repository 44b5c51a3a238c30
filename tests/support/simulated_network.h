#pragma once
// A network of domains and computers standing in for the platform's
// network-management, network-enumeration, account-lookup and LSA calls,
// with scripted failures of those and of the service-manager calls (which
// otherwise reach the real Service Control Manager). Building one puts it
// into setup's platform-call table; destroying it puts back the table it
// found. One at a time. It knows nothing of any test framework, so test
// builds of setup can link it too.
//
// This computer is the one GetComputerNameW names. Accounts are kept by an
// authority: a domain, or a computer that is no domain controller (a
// controller keeps its domain's). "Where" arguments name either.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "services/platform_calls.h"

class SimulatedNetwork {
public:
    SimulatedNetwork();
    ~SimulatedNetwork();
    SimulatedNetwork(const SimulatedNetwork&) = delete;
    SimulatedNetwork& operator=(const SimulatedNetwork&) = delete;

    const std::wstring& ThisComputer() const { return thisComputer_; }

    // The network. A domain's controller is a computer of that domain; a
    // domain without one answers "no domain controller".
    void AddDomain(const std::wstring& domain, const std::wstring& controller);
    void AddComputer(const std::wstring& computer, const std::wstring& domain);
    // This computer joins `domain`, as a member or as its controller.
    void JoinDomain(const std::wstring& domain);
    void BecomeController(const std::wstring& domain);
    // Accounts of `trusted` resolve for the computers of `domain`.
    void Trust(const std::wstring& domain, const std::wstring& trusted);

    // Accounts.
    void AddUser(const std::wstring& where, const std::wstring& user);
    void AddGlobalGroup(const std::wstring& domain, const std::wstring& group, const std::vector<std::wstring>& users);
    // `account` (DOMAIN\name, a user or a global group) joins the
    // Administrators alias of `where`.
    void AddAdministrator(const std::wstring& where, const std::wstring& account);
    bool IsDirectAdministrator(const std::wstring& where, const std::wstring& account) const;
    struct User {
        std::wstring password;
        std::wstring comment;
        DWORD privilege = 0;
        DWORD flags = 0;
    };
    // The user of that name kept by `where`; null when there is none.
    const User* FindUser(const std::wstring& where, const std::wstring& user) const;

    // The LSA policy of `where`: account objects with their logon modes,
    // which the logon rights by name read and add to. An account without an
    // object has none.
    void SetLogonModes(const std::wstring& where, const std::wstring& account, ULONG modes);
    bool HasAccountObject(const std::wstring& where, const std::wstring& account) const;
    ULONG LogonModes(const std::wstring& where, const std::wstring& account) const;
    // The account-object functions answer "not implemented", as where the
    // platform lacks them; the rights by name still work.
    void WithoutAccountObjects() { withoutAccountObjects_ = true; }

    // The network browser's tree: providers, then domains, then computers.
    // Generic containers put `levels` deeper levels between the provider
    // and the domains; a looping container holds itself.
    void BuryDomains(int levels) { buriedLevels_ = levels; }
    void AddLoopingContainer() { loopingContainer_ = true; }
    void DelayEnumeration(DWORD milliseconds) { enumerationDelay_ = milliseconds; }

    // Scripted failures.
    // NetworkBrowse is WNetOpenEnumW.
    enum class Call {
        NetGetDCName, NetUserAdd, NetGroupGetUsers, NetLocalGroupGetMembers, NetLocalGroupAddMember, NetWkstaGetInfo,
        NetworkBrowse, LsaOpenPolicy, LsaOpenAccount, LsaCreateAccount, LsaGetSystemAccessAccount,
        LsaSetSystemAccessAccount, LsaEnumerateAccountRights, LsaAddAccountRights,
    };
    // `call` answers `status` (a Net status, a Win32 error or an NT status,
    // as the call reports) from now on.
    void Fail(Call call, DWORD status) { failures_[call] = status; }
    void Heal(Call call) { failures_.erase(call); }
    // Enumerations give `entries` at a time (0: as many as fit); member
    // enumerations may answer "more data" with no entries at all.
    void PageEntries(DWORD entries) { pageEntries_ = entries; }
    void AnswerMoreDataWithoutEntries(Call call) { emptyMoreData_.push_back(call); }
    // StartServiceW / CreateServiceW fail with `error` the next `times`
    // times (-1: always), in place of what was scripted before.
    void FailServiceStart(DWORD error, int times = -1) { startFailure_ = {error, times}; }
    void FailServiceCreate(DWORD error, int times = -1) { createFailure_ = {error, times}; }

    // What the calls did.
    int CallCount(Call call) const;
    int ServiceStartAttempts() const { return serviceStarts_; }
    // Buffers handed out and not yet freed, LSA handles not yet closed.
    int OutstandingBuffers() const { return static_cast<int>(buffers_.size()); }
    int OpenLsaHandles() const { return static_cast<int>(lsaHandles_.size()); }

private:
    // The table's entries, which reach the network through current_.
    friend struct Entries;
    struct Authority;
    struct Computer;
    struct Enumeration;
    struct LsaObject;
    struct ServiceFailure {
        DWORD error = 0;
        int times = 0;
    };
    static SimulatedNetwork* current_;
    PlatformCalls saved_;
    std::wstring thisComputer_;
    std::vector<std::unique_ptr<Authority>> authorities_;
    std::vector<std::unique_ptr<Computer>> computers_;
    std::map<Call, DWORD> failures_;
    std::map<Call, int> calls_;
    std::map<void*, std::unique_ptr<BYTE[]>> buffers_;
    std::map<void*, std::unique_ptr<LsaObject>> lsaHandles_;
    std::map<void*, std::unique_ptr<Enumeration>> enumerations_;
    ServiceFailure startFailure_;
    ServiceFailure createFailure_;
    DWORD pageEntries_ = 0;
    std::vector<Call> emptyMoreData_;
    bool withoutAccountObjects_ = false;
    int buriedLevels_ = 0;
    bool loopingContainer_ = false;
    DWORD enumerationDelay_ = 0;
    int serviceStarts_ = 0;
    DWORD nextAuthorityId_ = 1001;

    Authority& AuthorityNamed(const std::wstring& name) const;
    Authority* FindAuthority(const std::wstring& name) const;
    Computer* FindComputer(const std::wstring& name) const;
    Computer* ServerComputer(const wchar_t* server) const;
    Authority& StoreOf(const Computer& computer) const;
    std::vector<Authority*> Visible(const Computer& computer) const;
    // An account as the lookups find it.
    struct Found {
        std::vector<BYTE> sid;
        std::wstring name;
        std::wstring domain;
        SID_NAME_USE kind;
    };
    // The first account `asking` sees that `matches`, the Administrators
    // alias before the authorities' accounts.
    bool FindAccount(const Computer& asking, const std::function<bool(const Found&)>& matches, Found& found) const;
    std::vector<BYTE> SidOf(const std::wstring& account) const;
    Authority& NewAuthority(const std::wstring& name, bool isDomain);
    // A buffer handed out until freed; `end` is its end.
    BYTE* Allocate(size_t bytes, BYTE*& end);
    // Counts the call; its scripted status, 0 when it has none.
    DWORD ScriptedFailure(Call call);
};
