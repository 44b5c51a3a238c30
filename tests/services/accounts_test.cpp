// The service account's operations on this prefix's own user, with the
// platform calls each case needs answered by the case: a lookup that
// answers for another domain, an Administrators list that cannot be read,
// the security policy's account objects, a network that never ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "services/account_names.h"
#include "services/accounts.h"
#include "services/service_account.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"

using namespace support;

namespace {

constexpr NTSTATUS kStatusNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kAccessDenied = static_cast<NTSTATUS>(0xC0000022);

// The table as the platform fills it; each case's answers go on to it.
PlatformCalls real;

class Accounts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        real = Platform();
    }
    void TearDown() override { Platform() = real; }
    static std::wstring Me() { return ComputerName() + L"\\" + UserName(); }
};

// The account found, but in a domain of another name than the one asked.
BOOL WINAPI LookupInAnotherDomain(LPCWSTR system, LPCWSTR name, PSID sid, LPDWORD sidBytes, LPWSTR domain,
                                  LPDWORD domainChars, PSID_NAME_USE kind)
{
    BOOL found = real.LookupAccountNameW(system, name, sid, sidBytes, domain, domainChars, kind);
    if (found)
        domain[0] = domain[0] == L'X' ? L'Y' : L'X';
    return found;
}

TEST_F(Accounts, AnAccountOfTheSameNameInAnotherDomainIsNotTheOneNamed)
{
    EXPECT_TRUE(AccountExists(Me().c_str()));
    Platform().LookupAccountNameW = LookupInAnotherDomain;
    EXPECT_FALSE(AccountExists(Me().c_str()));
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(ERROR_NONE_MAPPED));
}

int listCalls;
NET_API_STATUS addStatus;

// "More data", with none given: the membership cannot be read.
NET_API_STATUS WINAPI UnreadableMembers(LPCWSTR, LPCWSTR, DWORD, LPBYTE* buffer, DWORD, LPDWORD read, LPDWORD total,
                                        PDWORD_PTR)
{
    ++listCalls;
    *buffer = nullptr;
    *read = 0;
    *total = 1;
    return ERROR_MORE_DATA;
}

NET_API_STATUS WINAPI AddMember(LPCWSTR, LPCWSTR, PSID)
{
    return addStatus;
}

// One account object, whose logon modes the case sets.
const LSA_HANDLE kObject = reinterpret_cast<LSA_HANDLE>(0x5A5A);
bool objectExists;
ULONG logonModes;
NTSTATUS setStatus;

NTSTATUS NTAPI OpenObject(LSA_HANDLE, PSID, ACCESS_MASK, PLSA_HANDLE object)
{
    *object = objectExists ? kObject : nullptr;
    return objectExists ? 0 : kStatusNotFound;
}

NTSTATUS NTAPI CreateObject(LSA_HANDLE, PSID, ACCESS_MASK, PLSA_HANDLE object)
{
    objectExists = true;
    *object = kObject;
    return 0;
}

NTSTATUS NTAPI GetModes(LSA_HANDLE, PULONG modes)
{
    *modes = logonModes;
    return 0;
}

NTSTATUS NTAPI SetModes(LSA_HANDLE, ULONG modes)
{
    if (!setStatus)
        logonModes = modes;
    return setStatus;
}

NTSTATUS NTAPI CloseObject(LSA_HANDLE handle)
{
    return handle == kObject ? 0 : real.LsaClose(handle);
}

TEST_F(Accounts, TheLogonRightIsGrantedKeepingTheAccountsOtherLogonModes)
{
    constexpr ULONG kOtherModes = 0x1 | 0x2 | 0x4;  // interactive, network, batch
    PlatformCalls& calls = Platform();
    calls.LsaOpenAccount = OpenObject;
    calls.LsaCreateAccount = CreateObject;
    calls.LsaGetSystemAccessAccount = GetModes;
    calls.LsaSetSystemAccessAccount = SetModes;
    calls.LsaClose = CloseObject;
    const struct {
        bool exists;
        ULONG before;
        NTSTATUS set;
        ULONG after;
    } cases[] = {
        {false, 0, 0, kServiceLogonMode},
        {true, kOtherModes, 0, kOtherModes | kServiceLogonMode},
        {true, kOtherModes, kAccessDenied, kOtherModes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.exists << " " << c.before << " " << c.set);
        objectExists = c.exists;
        logonModes = c.before;
        setStatus = c.set;
        EXPECT_FALSE(HasServiceLogonRight(Me().c_str()));
        EXPECT_EQ(GrantServiceLogonRight(Me().c_str()), c.set == 0);
        EXPECT_EQ(AccountErrors.nt, static_cast<DWORD>(c.set));
        EXPECT_EQ(logonModes, c.after);
        EXPECT_EQ(HasServiceLogonRight(Me().c_str()), c.set == 0);
    }
}

// A network whose every level gives one more entry each quarter of a
// second and never ends: containers at the top, domains below.
DWORD WINAPI OpenLevel(DWORD, DWORD, DWORD, LPNETRESOURCEW container, LPHANDLE handle)
{
    *handle = reinterpret_cast<HANDLE>(container ? 2 : 1);
    return NO_ERROR;
}

DWORD WINAPI NextEntry(HANDLE level, LPDWORD count, LPVOID buffer, LPDWORD)
{
    static wchar_t name[] = L"TAPEDOM";
    Sleep(250);
    auto entry = static_cast<NETRESOURCEW*>(buffer);
    *entry = {};
    entry->dwDisplayType = level == reinterpret_cast<HANDLE>(1) ? RESOURCEDISPLAYTYPE_NETWORK
                                                                 : RESOURCEDISPLAYTYPE_DOMAIN;
    entry->lpRemoteName = name;
    *count = 1;
    return NO_ERROR;
}

DWORD WINAPI CloseLevel(HANDLE)
{
    return NO_ERROR;
}

// The network's answers are static buffers, which nothing frees.
NET_API_STATUS WINAPI FreeNothing(LPVOID)
{
    return NERR_Success;
}

NET_API_STATUS controllerStatus;
std::wstring lookedUpServer, lookedUpName;

NET_API_STATUS WINAPI TapedomController(LPCWSTR, LPCWSTR domain, LPBYTE* name)
{
    static wchar_t controller[] = L"\\\\TAPEDC";
    *name = reinterpret_cast<BYTE*>(controller);
    return domain && _wcsicmp(domain, L"TAPEDOM") == 0 ? controllerStatus : NERR_DCNotFound;
}

// No account is found anywhere: what matters is where it was asked for.
BOOL WINAPI RecordLookup(LPCWSTR system, LPCWSTR name, PSID, LPDWORD, LPWSTR, LPDWORD, PSID_NAME_USE)
{
    lookedUpServer = system ? system : L"";
    lookedUpName = name;
    SetLastError(ERROR_NONE_MAPPED);
    return FALSE;
}

// Only a LanManNt product (in any case) is a controller, which asks itself;
// a workstation or server asks itself, which asks the trusted domain. A
// domain the network search does not find, on a network that never ends,
// is a computer, asked once the search gives up.
TEST_F(Accounts, ADomainAccountIsLookedUpWhereItsDomainIsKept)
{
    PlatformCalls& calls = Platform();
    calls.WNetOpenEnumW = OpenLevel;
    calls.WNetEnumResourceW = NextEntry;
    calls.WNetCloseEnum = CloseLevel;
    calls.NetGetDCName = TapedomController;
    calls.NetApiBufferFree = FreeNothing;
    calls.LookupAccountNameW = RecordLookup;
    ProductTypeOverride productType;
    const struct {
        const wchar_t *productType, *account;
        NET_API_STATUS controller;
        const wchar_t *server, *name;
        DWORD os;
    } cases[] = {
        {L"LANMANNT", L"TAPEDOM\\Backup", NERR_Success, L"\\\\TAPEDC", L"Backup", ERROR_NONE_MAPPED},
        {L"WinNT", L"tapedom\\Backup", NERR_Success, L"", L"tapedom\\Backup", ERROR_NONE_MAPPED},
        {L"ServerNT", L"TAPEDOM\\Backup", NERR_Success, L"", L"TAPEDOM\\Backup", ERROR_NONE_MAPPED},
        {L"WinNT", L"TAPEDOM\\Backup", NERR_DCNotFound, L"", L"", ERROR_OUTOFMEMORY},
        {L"LanManNt", L"ELSEWHERE\\Backup", NERR_Success, L"\\\\ELSEWHERE", L"Backup", ERROR_NONE_MAPPED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.productType << " " << c.account << " " << c.controller);
        ResetSetupState();
        productType.Set(c.productType);
        controllerStatus = c.controller;
        lookedUpServer = lookedUpName = L"";
        const DWORD started = GetTickCount();
        EXPECT_FALSE(AccountExists(c.account));
        EXPECT_LT(GetTickCount() - started, 8000u);
        EXPECT_EQ(lookedUpServer, c.server);
        EXPECT_EQ(lookedUpName, c.name);
        EXPECT_EQ(AccountErrors.os, c.os);
        EXPECT_EQ(AccountErrors.net, c.controller);
    }
}

// The account the network is asked to add.
struct {
    std::wstring server, name, password;
} added;

// The creation is tried, refused and reported.
NET_API_STATUS WINAPI AddUser(LPCWSTR server, DWORD level, LPBYTE buffer, LPDWORD)
{
    auto user = reinterpret_cast<const USER_INFO_1*>(buffer);
    added = {server ? server : L"", user->usri1_name, user->usri1_password};
    return level == 1 ? NERR_PasswordTooShort : ERROR_INVALID_LEVEL;
}

// A missing account from the command line, by hand: a password generated
// for a keyword, which nobody could type again, is taken as given; only a
// typed one is confirmed before the account is created with it, by its
// user name on the computer that keeps it, and a refusal is reported with
// the network's status. An option too long for its field is no account.
TEST_F(Accounts, OnlyATypedPasswordIsConfirmedBeforeTheAccountIsMade)
{
    Platform().LookupAccountNameW = RecordLookup;
    Platform().NetUserAdd = AddUser;
    for (const std::wstring password : {L"$RANDOM$", L"$DEFAULT$", L"Typed 1"}) {
        SCOPED_TRACE(password.c_str());
        const bool typed = password[0] != L'$';
        const std::wstring line = L"setup.exe /USER:tapesvc /DOMAIN:$LOCAL$ /PASSWORD:\"" + password + L"\"";
        ResetSetupState(line.c_str());
        added = {};
        MessageBoxAnswerer answerer({IDYES, IDCANCEL});
        ServiceAccountRecord account = {};
        EXPECT_FALSE(ObtainServiceAccountFromOptions(nullptr, account));
        ASSERT_EQ(answerer.Boxes().size(), 2u);
        EXPECT_EQ(answerer.Boxes()[0].caption, L"Account Does Not Exist");
        EXPECT_EQ(answerer.Boxes()[1].caption, typed ? L"Confirm Password" : L"Unexpected Error");
        EXPECT_EQ(added.password.size(), typed ? 0u : 10u);
        if (typed)
            continue;
        EXPECT_EQ(added.server, L"\\\\" + ComputerName());
        EXPECT_EQ(added.name, L"tapesvc");
        EXPECT_NE(answerer.Boxes()[1].text.find(L"Net error: 2245"), std::wstring::npos)
            << answerer.Boxes()[1].text.c_str();
    }

    ResetSetupState(L"setup.exe /USER:bob /PASSWORD:x /DOMAIN:DDDDDDDDDDDDDDDD");
    MessageBoxAnswerer answerer({IDNO});
    ServiceAccountRecord account = {};
    EXPECT_FALSE(ObtainServiceAccountFromOptions(nullptr, account));
    EXPECT_TRUE(answerer.Boxes().empty());
}

// The Administrators alias holds one global group, whose users the case names.
BYTE groupSid[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x27, 2, 0, 0};
std::vector<GROUP_USERS_INFO_0> groupUsers;

NET_API_STATUS WINAPI AliasHoldsGroup(LPCWSTR, LPCWSTR, DWORD, LPBYTE* buffer, DWORD, LPDWORD read, LPDWORD total,
                                      PDWORD_PTR)
{
    static LOCALGROUP_MEMBERS_INFO_0 member = {groupSid};
    *buffer = reinterpret_cast<BYTE*>(&member);
    *read = *total = 1;
    return NERR_Success;
}

BOOL WINAPI NameTheGroup(LPCWSTR system, PSID sid, LPWSTR name, LPDWORD nameChars, LPWSTR domain,
                         LPDWORD domainChars, PSID_NAME_USE kind)
{
    if (!EqualSid(sid, groupSid))
        return real.LookupAccountSidW(system, sid, name, nameChars, domain, domainChars, kind);
    wcscpy(name, L"Tape Operators");
    wcscpy(domain, ComputerName().c_str());
    *kind = SidTypeGroup;
    return TRUE;
}

NET_API_STATUS WINAPI GroupUsers(LPCWSTR, LPCWSTR group, DWORD, LPBYTE* buffer, DWORD, LPDWORD read, LPDWORD total,
                                 PDWORD_PTR)
{
    *buffer = reinterpret_cast<BYTE*>(groupUsers.data());
    *read = *total = static_cast<DWORD>(groupUsers.size());
    return wcscmp(group, L"Tape Operators") == 0 ? NERR_Success : NERR_GroupNotFound;
}

// An account is an administrator through the alias or a global group it
// holds; an unreadable membership leaves the alias's answer to the addition,
// which the list is not asked again for, and a member is not added again.
TEST_F(Accounts, AnAdministratorIsAddedOnlyWhenTheAliasDoesNotHoldIt)
{
    PlatformCalls& calls = Platform();
    calls.NetLocalGroupGetMembers = UnreadableMembers;
    calls.NetLocalGroupAddMember = AddMember;
    const NET_API_STATUS statuses[] = {NERR_Success, ERROR_MEMBER_IN_ALIAS, ERROR_ACCESS_DENIED};
    for (NET_API_STATUS status : statuses) {
        SCOPED_TRACE(status);
        listCalls = 0;
        addStatus = status;
        EXPECT_EQ(MakeAccountAdministrator(Me().c_str()), status != ERROR_ACCESS_DENIED);
        EXPECT_EQ(AccountErrors.net, status);
        EXPECT_EQ(listCalls, 1);
    }
    calls.NetLocalGroupGetMembers = AliasHoldsGroup;
    calls.LookupAccountSidW = NameTheGroup;
    calls.NetGroupGetUsers = GroupUsers;
    calls.NetApiBufferFree = FreeNothing;
    std::wstring other = L"Tape Operator", me = UserName();
    for (bool included : {true, false}) {
        groupUsers = {{&other[0]}};
        if (included)
            groupUsers.push_back({&me[0]});
        EXPECT_EQ(IsAccountAdministrator(Me().c_str()), included) << included;
        EXPECT_EQ(MakeAccountAdministrator(Me().c_str()), included) << included;
    }
}

}  // namespace
