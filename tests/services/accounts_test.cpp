// The service account's operations over a simulated network: where a name
// leads, Administrators membership and its grant, the account's creation,
// the right to log on as a service, and the codes each failure leaves; then
// the same calls on the real platform, which lacks some of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "services/account_names.h"
#include "services/accounts.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/simulated_network.h"

namespace {

using Call = SimulatedNetwork::Call;

// This computer, in the workgroup until JoinDomain, keeps the user "bob".
// Each test ends with every network buffer freed and every LSA handle closed.
class Accounts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        net_.accounts.push_back({net_.thisComputer, L"bob"});
    }
    void TearDown() override
    {
        EXPECT_TRUE(net_.buffers.empty());
        EXPECT_TRUE(net_.lsaHandles.empty());
    }
    // This computer and FARPC are members of DOM, whose controller DC1
    // keeps "alice"; DOM trusts TRUSTED, which keeps "carol".
    void JoinDomain()
    {
        net_.AddDomain(L"DOM", L"DC1", {L"TRUSTED"});
        net_.AddDomain(L"TRUSTED", L"TDC");
        net_.accounts.push_back({L"DOM", L"alice"});
        net_.accounts.push_back({L"TRUSTED", L"carol"});
        net_.computers[0].domain = L"DOM";
        net_.computers.push_back({L"FARPC", L"DOM", false});
    }
    std::wstring Local(const std::wstring& user) const { return net_.thisComputer + L"\\" + user; }

    SimulatedNetwork net_;
};

TEST_F(Accounts, ANameIsLookedUpWhereItIsKeptAndInTheDomainItNames)
{
    JoinDomain();
    std::wstring lowerLocal = Local(L"bob");
    CharLowerW(&lowerLocal[0]);
    const struct {
        std::wstring account;
        bool forUpdate;
        std::wstring server, user;
    } splits[] = {
        {lowerLocal, false, L"\\\\" + net_.thisComputer, L"bob"},
        {L"DOM\\alice", false, L"", L"DOM\\alice"},
        {L"dom\\alice", true, L"\\\\DC1", L"alice"},
        {L"FARPC\\eve", false, L"\\\\FARPC", L"eve"},
    };
    for (const auto& c : splits) {
        SCOPED_TRACE(testing::Message() << c.account.c_str() << (c.forUpdate ? " for update" : ""));
        AccountParts parts;
        ASSERT_TRUE(SplitAccountName(c.account.c_str(), c.forUpdate, parts));
        EXPECT_EQ(parts.server, c.server);
        EXPECT_EQ(parts.user, c.user);
    }
    // FARPC answers for DOM's "alice" when asked for its own: another
    // account than the one named.
    const struct {
        std::wstring account;
        std::wstring domain;  // empty: not found, with `os`
        DWORD os;
    } lookups[] = {
        {Local(L"bob"), net_.thisComputer, 0},  {L"DOM\\alice", L"DOM", 0},
        {L"TRUSTED\\carol", L"TRUSTED", 0},     {L"FARPC\\alice", L"", ERROR_NONE_MAPPED},
        {L"DOM\\nobody", L"", ERROR_NONE_MAPPED}, {L"bob", L"", ERROR_OUTOFMEMORY},
    };
    for (const auto& c : lookups) {
        SCOPED_TRACE(testing::Message() << c.account.c_str());
        AccountFacts facts{};
        EXPECT_EQ(LookupAccount(c.account.c_str(), &facts), !c.domain.empty());
        EXPECT_EQ(facts.domain, c.domain);
        if (c.domain.empty()) {
            EXPECT_EQ(AccountErrors.os, c.os);
        }
    }
}

TEST_F(Accounts, ADomainControllerSaysSoAndAsksItself)
{
    ProductTypeOverride productType;
    productType.Remove();
    EXPECT_FALSE(IsDomainController());
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    const struct {
        const wchar_t* type;
        bool controller;
    } types[] = {{L"WinNT", false}, {L"ServerNT", false}, {L"LANMANNT", true}, {L"LanManNt", true}};
    for (const auto& c : types) {
        productType.Set(c.type);
        EXPECT_EQ(IsDomainController(), c.controller) << c.type;
    }
    net_.AddDomain(L"DOM", net_.thisComputer);
    net_.accounts.push_back({L"DOM", L"alice"});
    AccountParts parts;
    ASSERT_TRUE(SplitAccountName(L"DOM\\alice", false, parts));
    EXPECT_EQ(parts.server, L"\\\\" + net_.thisComputer);
    EXPECT_EQ(parts.user, L"alice");
    EXPECT_TRUE(AccountExists(L"DOM\\alice"));
}

TEST_F(Accounts, TheDomainSearchGoesTwoLevelsDownForAFewSeconds)
{
    JoinDomain();
    EXPECT_TRUE(IsDomainName(L"dom"));
    net_.browse.push_back({L"", L"Other", RESOURCEDISPLAYTYPE_NETWORK});
    net_.browse.push_back({L"Other", L"Deep", RESOURCEDISPLAYTYPE_GENERIC});
    net_.browse.push_back({L"Deep", L"HIDDEN", RESOURCEDISPLAYTYPE_DOMAIN});
    EXPECT_FALSE(IsDomainName(L"HIDDEN"));
    // A slow network: forty domains, one a quarter of a second.
    for (int i = 0; i < 40; ++i)
        net_.browse.push_back({L"Other", L"SLOW" + std::to_wstring(i), RESOURCEDISPLAYTYPE_DOMAIN});
    net_.pageEntries = 1;
    net_.enumerationDelayMs = 250;
    DWORD started = GetTickCount();
    EXPECT_FALSE(IsDomainName(L"ELSEWHERE"));
    EXPECT_LT(GetTickCount() - started, 8000u);
}

TEST_F(Accounts, AdministratorsAreMembersDirectlyOrThroughAGlobalGroup)
{
    JoinDomain();
    net_.accounts.push_back({L"DOM", L"dave"});
    net_.accounts.push_back({L"DOM", L"Operators", SidTypeGroup, {L"dave", L"alice"}});
    net_.administrators[net_.thisComputer] = {L"DOM\\Operators", Local(L"bob")};
    net_.pageEntries = 1;  // so every member list takes several calls
    EXPECT_TRUE(IsAccountAdministrator(Local(L"bob").c_str()));
    EXPECT_TRUE(IsAccountAdministrator(L"DOM\\alice"));
    EXPECT_FALSE(IsAccountAdministrator(L"TRUSTED\\carol"));

    // A member through the group is left as it is; a domain account joins
    // this computer's alias.
    EXPECT_TRUE(MakeAccountAdministrator(L"DOM\\alice"));
    EXPECT_EQ(net_.calls[Call::NetLocalGroupAddMember], 0);
    EXPECT_TRUE(MakeAccountAdministrator(L"TRUSTED\\carol"));
    EXPECT_TRUE(net_.IsAdministrator(net_.thisComputer, L"TRUSTED\\carol"));

    // Lists that answer "more" without giving any are not asked for ever.
    for (Call call : {Call::NetGroupGetUsers, Call::NetLocalGroupGetMembers}) {
        net_.emptyMoreData = {call};
        int before = net_.calls[call];
        EXPECT_FALSE(IsAccountAdministrator(L"DOM\\alice"));
        EXPECT_EQ(net_.calls[call], before + 1);
    }

    // A member that the list did not show (it could not be read) is one.
    net_.emptyMoreData.clear();
    net_.Fail(Call::NetLocalGroupGetMembers, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(MakeAccountAdministrator(Local(L"bob").c_str()));
    EXPECT_EQ(AccountErrors.net, static_cast<DWORD>(ERROR_MEMBER_IN_ALIAS));
}

TEST_F(Accounts, AnAccountIsCreatedWhereItIsKeptWithAPasswordThatStays)
{
    JoinDomain();
    const struct {
        std::wstring account, store, user;
    } cases[] = {
        {Local(L"Velmar Service Acct"), net_.thisComputer, L"Velmar Service Acct"},
        {L"DOM\\svc", L"DOM", L"svc"},  // on the domain's controller
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.account.c_str());
        ASSERT_TRUE(CreateServiceAccount(c.account.c_str(), L"Pa55word", L"Velmar System Service Account"));
        const SimulatedNetwork::Account* user = net_.FindAccount(c.store, c.user);
        ASSERT_NE(user, nullptr);
        EXPECT_EQ(user->password, L"Pa55word");
        EXPECT_EQ(user->comment, L"Velmar System Service Account");
        EXPECT_EQ(user->privilege, static_cast<DWORD>(USER_PRIV_USER));
        EXPECT_EQ(user->flags,
                  static_cast<DWORD>(UF_SCRIPT | UF_PASSWD_CANT_CHANGE | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD));
        EXPECT_TRUE(AccountExists(c.account.c_str()));
    }
}

// Each failure leaves its own code in its slot, never an older one.
TEST_F(Accounts, EachFailureLeavesItsCodeInItsSlot)
{
    JoinDomain();
    net_.AddDomain(L"LOST", L"");
    const struct {
        const char* what;
        Call call;
        DWORD status;
        bool (*step)();
        DWORD AccountErrorCodes::*slot;
        DWORD code;
    } cases[] = {
        {"no controller", Call::NetGetDCName, 0, [] { return AccountExists(L"LOST\\alice"); },
         &AccountErrorCodes::net, NERR_DCNotFound},
        {"no controller", Call::NetGetDCName, 0, [] { return AccountExists(L"LOST\\alice"); },
         &AccountErrorCodes::os, ERROR_OUTOFMEMORY},
        {"no account", Call::NetGetDCName, 0, [] { return MakeAccountAdministrator(L"DOM\\nobody"); },
         &AccountErrorCodes::os, ERROR_NONE_MAPPED},
        {"alias refused", Call::NetLocalGroupAddMember, ERROR_ACCESS_DENIED,
         [] { return MakeAccountAdministrator(L"DOM\\alice"); }, &AccountErrorCodes::net, ERROR_ACCESS_DENIED},
        {"user refused", Call::NetUserAdd, NERR_PasswordTooShort,
         [] { return CreateServiceAccount(L"DOM\\svc", L"x", L"comment"); }, &AccountErrorCodes::net,
         NERR_PasswordTooShort},
        {"user exists", Call::NetUserAdd, 0, [] { return CreateServiceAccount(L"DOM\\alice", L"x", L"comment"); },
         &AccountErrorCodes::net, NERR_UserExists},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AccountErrors = {ERROR_GEN_FAILURE, NERR_DCNotFound + 1, 0};
        net_.Fail(c.call, c.status);
        EXPECT_FALSE(c.step());
        EXPECT_EQ(AccountErrors.*c.slot, c.code);
        net_.failures.clear();
    }
}

// The right is tested and granted through the account's LSA object, or by
// name where the platform lacks account objects.
class LogonRight : public Accounts, public testing::WithParamInterface<bool> {};

TEST_P(LogonRight, IsGrantedOnceKeepingTheOtherLogonModes)
{
    constexpr ULONG kOtherModes = 0x1 | 0x2 | 0x4;  // interactive, network, batch
    constexpr NTSTATUS kAccessDenied = static_cast<NTSTATUS>(0xC0000022);
    net_.withoutAccountObjects = GetParam();
    JoinDomain();
    const std::wstring bob = Local(L"bob");
    const SimulatedNetwork::AccountObject object{net_.thisComputer, bob};
    EXPECT_FALSE(HasServiceLogonRight(bob.c_str()));
    EXPECT_EQ(net_.logonModes.count(object), 0u);
    ASSERT_TRUE(GrantServiceLogonRight(bob.c_str()));
    EXPECT_EQ(net_.logonModes[object], kServiceLogonMode);

    net_.logonModes[object] = kOtherModes;
    EXPECT_FALSE(HasServiceLogonRight(bob.c_str()));
    ASSERT_TRUE(GrantServiceLogonRight(bob.c_str()));
    EXPECT_EQ(net_.logonModes[object], kOtherModes | kServiceLogonMode);
    EXPECT_TRUE(HasServiceLogonRight(bob.c_str()));

    // A domain account gets it where its services run.
    ASSERT_TRUE(GrantServiceLogonRight(L"DOM\\alice"));
    EXPECT_EQ(net_.logonModes[SimulatedNetwork::AccountObject(net_.thisComputer, L"DOM\\alice")], kServiceLogonMode);
    EXPECT_EQ(net_.logonModes.count(SimulatedNetwork::AccountObject(L"DOM", L"DOM\\alice")), 0u);

    const std::wstring carol = L"TRUSTED\\carol";
    for (Call call : GetParam() ? std::vector<Call>{Call::LsaOpenPolicy, Call::LsaAddAccountRights}
                                : std::vector<Call>{Call::LsaOpenPolicy, Call::LsaCreateAccount,
                                                    Call::LsaGetSystemAccessAccount, Call::LsaSetSystemAccessAccount}) {
        SCOPED_TRACE(static_cast<int>(call));
        net_.Fail(call, static_cast<DWORD>(kAccessDenied));
        AccountErrors = {};
        EXPECT_FALSE(GrantServiceLogonRight(carol.c_str()));
        EXPECT_EQ(AccountErrors.nt, static_cast<DWORD>(kAccessDenied));
        net_.failures.clear();
    }
    EXPECT_EQ(net_.logonModes[SimulatedNetwork::AccountObject(net_.thisComputer, carol)], 0u);
}

INSTANTIATE_TEST_SUITE_P(AccountObjects, LogonRight, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Missing" : "Present"; });

// On the real platform, where the account-object functions and
// NetGroupGetUsers raise when called: they answer "not implemented".
TEST(PlatformCalls, MissingFunctionsAnswerInsteadOfRaising)
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the platform implements the account-object functions";
    ResetSetupState();
    PlatformCalls& calls = Platform();
    LSA_OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    LSA_HANDLE policy = nullptr;
    ASSERT_EQ(calls.LsaOpenPolicy(nullptr, &attributes, POLICY_ALL_ACCESS, &policy), 0);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidBytes = sizeof sid;
    ASSERT_TRUE(CreateWellKnownSid(WinLocalSystemSid, nullptr, sid, &sidBytes));
    LSA_HANDLE account = nullptr;
    ULONG modes = 0;
    EXPECT_EQ(calls.LsaOpenAccount(policy, sid, 0xF000F, &account), kStatusNotImplemented);
    EXPECT_EQ(calls.LsaCreateAccount(policy, sid, 0xF000F, &account), kStatusNotImplemented);
    EXPECT_EQ(calls.LsaGetSystemAccessAccount(account, &modes), kStatusNotImplemented);
    EXPECT_EQ(calls.LsaSetSystemAccessAccount(account, kServiceLogonMode), kStatusNotImplemented);
    calls.LsaClose(policy);
    BYTE* users = nullptr;
    DWORD read = 0, total = 0;
    DWORD_PTR resume = 0;
    EXPECT_EQ(calls.NetGroupGetUsers(nullptr, L"None", 0, &users, 4096, &read, &total, &resume),
              static_cast<NET_API_STATUS>(ERROR_CALL_NOT_IMPLEMENTED));

    // The platform answers for this computer's user when asked for it in
    // another domain; that domain is a computer to ask, and none answers.
    EXPECT_FALSE(AccountExists((L"OTHERDOM\\" + UserName()).c_str()));
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
}

}  // namespace
