#include "services/account_names.h"
#include "services/accounts.h"
#include "shell/handles.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"

namespace {

// The bit of an account's system access mask that lets it log on as a
// service, and the same right by name, as the account-rights functions keep
// it.
constexpr wchar_t kServiceLogonRight[] = L"SeServiceLogonRight";

// Every access to an LSA account object; the platform's headers do not name
// it.
constexpr ACCESS_MASK kAccountAllAccess = STANDARD_RIGHTS_REQUIRED | 0xF;

constexpr NTSTATUS kStatusSuccess = 0;
constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);

// Every LSA status goes to the Nt-error slot as it is returned.
NTSTATUS Record(NTSTATUS status)
{
    AccountErrors.nt = static_cast<DWORD>(status);
    return status;
}

// The account's SID and the policy of the computer where its rights live.
struct RightQuestion {
    AccountFacts account;
    AccountParts parts;
    LsaHandle policy;
};

bool OpenPolicy(const wchar_t* account, const wchar_t* server, RightQuestion& question)
{
    if (!LookupAccount(account, &question.account))
        return false;
    if (!SplitAccountName(account, false, question.parts))
        return false;
    if (!server)
        server = ServerName(question.parts.server);
    LSA_OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    LSA_UNICODE_STRING system{};
    if (server) {
        system.Length = system.MaximumLength = static_cast<USHORT>(lstrlenW(server) * sizeof(wchar_t));
        system.Buffer = const_cast<wchar_t*>(server);
    }
    return Record(Platform().LsaOpenPolicy(server ? &system : nullptr, &attributes, POLICY_ALL_ACCESS,
                                           question.policy.receive())) == kStatusSuccess;
}

LSA_UNICODE_STRING ServiceLogonRight()
{
    LSA_UNICODE_STRING right;
    right.Length = right.MaximumLength = sizeof kServiceLogonRight - sizeof kServiceLogonRight[0];
    right.Buffer = const_cast<wchar_t*>(kServiceLogonRight);
    return right;
}

// Where the platform has no account-object functions, the right is read and
// written by name, which comes to the same on every system that has both.
bool ListedServiceLogonRight(RightQuestion& question)
{
    LSA_UNICODE_STRING* rights = nullptr;
    ULONG count = 0;
    if (Record(Platform().LsaEnumerateAccountRights(question.policy.get(), question.account.sid.data(), &rights,
                                                    &count)) != kStatusSuccess)
        return false;
    const LSA_UNICODE_STRING wanted = ServiceLogonRight();
    bool held = false;
    for (ULONG i = 0; i < count && !held; ++i)
        held = rights[i].Length == wanted.Length && memcmp(rights[i].Buffer, wanted.Buffer, wanted.Length) == 0;
    Platform().LsaFreeMemory(rights);
    return held;
}

bool AddListedServiceLogonRight(RightQuestion& question)
{
    if (ListedServiceLogonRight(question))
        return true;
    LSA_UNICODE_STRING right = ServiceLogonRight();
    return Record(Platform().LsaAddAccountRights(question.policy.get(), question.account.sid.data(), &right, 1))
           == kStatusSuccess;
}

// The logon modes of the account's LSA object, which `object` keeps open;
// with `create`, an account without one gets it. kStatusNotImplemented when
// the platform keeps no account objects: the right is then kept by name.
NTSTATUS ReadLogonModes(RightQuestion& question, bool create, LsaHandle& object, ULONG& mask)
{
    NTSTATUS status = Record(Platform().LsaOpenAccount(question.policy.get(), question.account.sid.data(),
                                                       kAccountAllAccess, object.receive()));
    if (create && status == kStatusObjectNameNotFound)
        status = Record(Platform().LsaCreateAccount(question.policy.get(), question.account.sid.data(),
                                                    kAccountAllAccess, object.receive()));
    if (status != kStatusSuccess)
        return status;
    return Record(Platform().LsaGetSystemAccessAccount(object.get(), &mask));
}

}  // namespace

bool HasServiceLogonRight(const wchar_t* account, const wchar_t* server)
{
    RightQuestion question;
    if (!OpenPolicy(account, server, question))
        return false;
    LsaHandle object;
    ULONG mask = 0;
    NTSTATUS status = ReadLogonModes(question, false, object, mask);
    if (status == kStatusNotImplemented)
        return ListedServiceLogonRight(question);
    // An account that never held a right has no account object.
    return status == kStatusSuccess && (mask & kServiceLogonMode) != 0;
}

bool GrantServiceLogonRight(const wchar_t* account, const wchar_t* server)
{
    RightQuestion question;
    if (!OpenPolicy(account, server, question))
        return false;
    LsaHandle object;
    ULONG mask = 0;
    NTSTATUS status = ReadLogonModes(question, true, object, mask);
    if (status == kStatusNotImplemented)
        return AddListedServiceLogonRight(question);
    if (status != kStatusSuccess)
        return false;
    if (mask & kServiceLogonMode)
        return true;
    // The account keeps the interactive, network and batch logon it held.
    status = Record(Platform().LsaSetSystemAccessAccount(object.get(), mask | kServiceLogonMode));
    if (status == kStatusNotImplemented)
        return AddListedServiceLogonRight(question);
    return status == kStatusSuccess;
}
