// The right to log on as a service: tested and granted through the
// account's LSA object, or by name where the platform has no account
// objects, keeping the account's other logon rights.
#include <windows.h>

#include <gtest/gtest.h>

#include "services/accounts.h"
#include "services/platform_calls.h"
#include "network_fixture.h"

namespace {

using Call = SimulatedNetwork::Call;

constexpr ULONG kInteractive = 0x1;
constexpr ULONG kNetwork = 0x2;
constexpr ULONG kBatch = 0x4;
constexpr ULONG kService = kServiceLogonMode;
constexpr DWORD kAccessDenied = 0xC0000022;

class LogonRight : public NetworkTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        if (AccountObjectsMissing())
            net_.WithoutAccountObjects();
    }
    static bool AccountObjectsMissing() { return GetParam(); }
};

TEST_P(LogonRight, IsGrantedOnceAndKeepsTheOtherLogonModes)
{
    const std::wstring bob = Local(L"bob");
    EXPECT_FALSE(HasServiceLogonRight(bob.c_str()));
    EXPECT_FALSE(net_.HasAccountObject(net_.ThisComputer(), bob));

    ASSERT_TRUE(GrantServiceLogonRight(bob.c_str()));
    EXPECT_EQ(net_.LogonModes(net_.ThisComputer(), bob), kService);
    EXPECT_TRUE(HasServiceLogonRight(bob.c_str()));
    EXPECT_EQ(AccountErrors.nt, 0u);

    net_.SetLogonModes(net_.ThisComputer(), bob, kInteractive | kNetwork | kBatch);
    EXPECT_FALSE(HasServiceLogonRight(bob.c_str()));
    ASSERT_TRUE(GrantServiceLogonRight(bob.c_str()));
    EXPECT_EQ(net_.LogonModes(net_.ThisComputer(), bob), kInteractive | kNetwork | kBatch | kService);

    // Held already: nothing is written.
    int writes = net_.CallCount(Call::LsaSetSystemAccessAccount) + net_.CallCount(Call::LsaAddAccountRights);
    EXPECT_TRUE(GrantServiceLogonRight(bob.c_str()));
    EXPECT_EQ(net_.CallCount(Call::LsaSetSystemAccessAccount) + net_.CallCount(Call::LsaAddAccountRights), writes);
}

TEST_P(LogonRight, ADomainAccountGetsItWhereItsServicesRun)
{
    JoinDomain();
    ASSERT_TRUE(GrantServiceLogonRight(L"DOM\\alice"));
    EXPECT_EQ(net_.LogonModes(net_.ThisComputer(), L"DOM\\alice"), kService);
    EXPECT_FALSE(net_.HasAccountObject(L"DOM", L"DOM\\alice"));
    EXPECT_TRUE(HasServiceLogonRight(L"DOM\\alice"));
}

TEST_P(LogonRight, AFailedCallLeavesItsStatus)
{
    const std::wstring bob = Local(L"bob");
    const Call objectCalls[] = {Call::LsaOpenPolicy, Call::LsaCreateAccount, Call::LsaGetSystemAccessAccount,
                                Call::LsaSetSystemAccessAccount};
    const Call namedCalls[] = {Call::LsaOpenPolicy, Call::LsaAddAccountRights};
    for (Call call : AccountObjectsMissing() ? std::vector<Call>(std::begin(namedCalls), std::end(namedCalls))
                                             : std::vector<Call>(std::begin(objectCalls), std::end(objectCalls))) {
        SCOPED_TRACE(static_cast<int>(call));
        net_.Fail(call, kAccessDenied);
        AccountErrors = {};
        EXPECT_FALSE(GrantServiceLogonRight(bob.c_str()));
        EXPECT_EQ(AccountErrors.nt, kAccessDenied);
        net_.Heal(call);
    }
    EXPECT_EQ(net_.LogonModes(net_.ThisComputer(), bob), 0u);

    AccountErrors = {};
    EXPECT_FALSE(GrantServiceLogonRight(Local(L"nobody").c_str()));
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(ERROR_NONE_MAPPED));
}

INSTANTIATE_TEST_SUITE_P(AccountObjects, LogonRight, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Missing" : "Present";
                         });

}  // namespace
