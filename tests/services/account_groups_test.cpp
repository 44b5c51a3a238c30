// Membership of the Administrators alias, directly and through a global
// group, its grant, and the creation of the service account.
#include <windows.h>

#include <gtest/gtest.h>

#include "services/accounts.h"
#include "network_fixture.h"

namespace {

using Call = SimulatedNetwork::Call;

class Administrators : public NetworkTest {};

TEST_F(Administrators, CountsDirectMembersAndMembersOfAMemberGroup)
{
    JoinDomain();
    net_.AddUser(L"DOM", L"dave");
    net_.AddUser(L"DOM", L"frank");
    net_.AddGlobalGroup(L"DOM", L"Operators", {L"dave", L"alice", L"frank"});
    net_.AddUser(net_.ThisComputer(), L"zoe");
    net_.AddAdministrator(net_.ThisComputer(), Local(L"zoe"));
    net_.AddAdministrator(net_.ThisComputer(), L"DOM\\Operators");
    net_.AddAdministrator(net_.ThisComputer(), Local(L"bob"));
    // One entry a call, so every enumeration takes several.
    net_.PageEntries(1);
    EXPECT_TRUE(IsAccountAdministrator(Local(L"bob").c_str()));
    EXPECT_TRUE(IsAccountAdministrator(L"DOM\\frank"));
    EXPECT_FALSE(IsAccountAdministrator(L"TRUSTED\\carol"));
    EXPECT_GT(net_.CallCount(Call::NetGroupGetUsers), 3);

    // A member through the group is left as it is.
    EXPECT_TRUE(MakeAccountAdministrator(L"DOM\\alice"));
    EXPECT_EQ(net_.CallCount(Call::NetLocalGroupAddMember), 0);
    EXPECT_FALSE(net_.IsDirectAdministrator(net_.ThisComputer(), L"DOM\\alice"));
}

TEST_F(Administrators, MakesAnAccountAMember)
{
    JoinDomain();
    EXPECT_FALSE(IsAccountAdministrator(L"DOM\\alice"));
    EXPECT_TRUE(MakeAccountAdministrator(L"DOM\\alice"));
    // A domain account seen from a workstation joins the workstation's alias.
    EXPECT_TRUE(net_.IsDirectAdministrator(net_.ThisComputer(), L"DOM\\alice"));
    EXPECT_TRUE(IsAccountAdministrator(L"DOM\\alice"));
}

TEST_F(Administrators, AMemberTheListDidNotShowIsAMember)
{
    net_.AddAdministrator(net_.ThisComputer(), Local(L"bob"));
    net_.Fail(Call::NetLocalGroupGetMembers, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(MakeAccountAdministrator(Local(L"bob").c_str()));
    EXPECT_EQ(AccountErrors.net, static_cast<DWORD>(ERROR_MEMBER_IN_ALIAS));
}

TEST_F(Administrators, EnumerationsAnsweringMoreWithoutEntriesEnd)
{
    JoinDomain();
    net_.AddGlobalGroup(L"DOM", L"Operators", {L"alice"});
    net_.AddAdministrator(net_.ThisComputer(), L"DOM\\Operators");
    EXPECT_TRUE(IsAccountAdministrator(L"DOM\\alice"));
    net_.AnswerMoreDataWithoutEntries(Call::NetGroupGetUsers);
    EXPECT_FALSE(IsAccountAdministrator(L"DOM\\alice"));
    EXPECT_EQ(net_.CallCount(Call::NetGroupGetUsers), 2);
    net_.AnswerMoreDataWithoutEntries(Call::NetLocalGroupGetMembers);
    EXPECT_FALSE(IsAccountAdministrator(L"DOM\\alice"));
    EXPECT_EQ(net_.CallCount(Call::NetLocalGroupGetMembers), 3);
}

// Each failure leaves its code in its slot, never an older one.
TEST_F(Administrators, FailuresLandInTheirSlots)
{
    JoinDomain();
    AccountErrors.net = NERR_DCNotFound;
    net_.Fail(Call::NetLocalGroupAddMember, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(MakeAccountAdministrator(L"DOM\\alice"));
    EXPECT_EQ(AccountErrors.net, static_cast<DWORD>(ERROR_ACCESS_DENIED));

    AccountErrors = {};
    EXPECT_FALSE(MakeAccountAdministrator(L"DOM\\nobody"));
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(ERROR_NONE_MAPPED));

    net_.Fail(Call::NetGetDCName, NERR_DCNotFound);
    AccountErrors = {};
    EXPECT_FALSE(IsAccountAdministrator(L"DOM\\alice"));
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(ERROR_OUTOFMEMORY));
    EXPECT_EQ(AccountErrors.net, static_cast<DWORD>(NERR_DCNotFound));
    DWORD os, net, nt;
    EXPECT_TRUE(GetAccountErrors(os, net, nt));
    EXPECT_EQ(os, static_cast<DWORD>(ERROR_OUTOFMEMORY));
    EXPECT_EQ(net, static_cast<DWORD>(NERR_DCNotFound));
    EXPECT_EQ(nt, 0u);
}

class AccountCreation : public NetworkTest {};

TEST_F(AccountCreation, CreatesANormalAccountWhosePasswordStays)
{
    JoinDomain();
    const struct {
        std::wstring account;
        std::wstring keeper;
        std::wstring user;
    } cases[] = {
        {Local(L"Velmar Service Acct"), net_.ThisComputer(), L"Velmar Service Acct"},
        // A domain account is created on the domain's controller.
        {L"DOM\\svc", L"DOM", L"svc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.account.c_str());
        EXPECT_FALSE(AccountExists(c.account.c_str()));
        ASSERT_TRUE(CreateServiceAccount(c.account.c_str(), L"Pa55word", L"Velmar System Service Account"));
        const SimulatedNetwork::User* user = net_.FindUser(c.keeper, c.user);
        ASSERT_NE(user, nullptr);
        EXPECT_EQ(user->password, L"Pa55word");
        EXPECT_EQ(user->comment, L"Velmar System Service Account");
        EXPECT_EQ(user->privilege, static_cast<DWORD>(USER_PRIV_USER));
        EXPECT_EQ(user->flags,
                  static_cast<DWORD>(UF_SCRIPT | UF_PASSWD_CANT_CHANGE | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD));
        EXPECT_TRUE(AccountExists(c.account.c_str()));
    }
}

TEST_F(AccountCreation, AFailedCreationKeepsItsStatus)
{
    const struct {
        DWORD scripted;
        const wchar_t* user;
        DWORD status;
    } cases[] = {
        {NERR_PasswordTooShort, L"svc", NERR_PasswordTooShort},
        {0, L"bob", NERR_UserExists},
    };
    for (const auto& c : cases) {
        if (c.scripted)
            net_.Fail(Call::NetUserAdd, c.scripted);
        AccountErrors = {};
        EXPECT_FALSE(CreateServiceAccount(Local(c.user).c_str(), L"x", L"comment"));
        EXPECT_EQ(AccountErrors.net, c.status);
        net_.Heal(Call::NetUserAdd);
    }
}

TEST_F(AccountCreation, TheWorkstationServiceAnswersOrNot)
{
    EXPECT_TRUE(WorkstationRunning());
    net_.Fail(Call::NetWkstaGetInfo, NERR_WkstaNotStarted);
    EXPECT_FALSE(WorkstationRunning());
}

}  // namespace
