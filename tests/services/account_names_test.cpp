// Where an account name leads: the server that keeps it, its lookup in the
// domain named and no other, the search for domains on the network, and the
// domain controller test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "services/account_names.h"
#include "services/accounts.h"
#include "network_fixture.h"
#include "support/registry_override.h"

namespace {

using Call = SimulatedNetwork::Call;

class AccountNames : public NetworkTest {};

TEST_F(AccountNames, SplitsByWhereTheAccountIsKept)
{
    JoinDomain();
    net_.AddComputer(L"FARPC", L"DOM");
    std::wstring lowerComputer = net_.ThisComputer();
    CharLowerW(&lowerComputer[0]);
    const std::wstring self = L"\\\\" + net_.ThisComputer();
    struct Case {
        std::wstring account;
        bool forUpdate;
        std::wstring server;
        std::wstring user;
    } cases[] = {
        {lowerComputer + L"\\bob", false, self, L"bob"},
        {L"DOM\\alice", false, L"", L"DOM\\alice"},
        {L"dom\\alice", true, L"\\\\DC1", L"alice"},
        {L"FARPC\\eve", false, L"\\\\FARPC", L"eve"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.account.c_str() << (c.forUpdate ? " for update" : ""));
        AccountParts parts;
        ASSERT_TRUE(SplitAccountName(c.account.c_str(), c.forUpdate, parts));
        EXPECT_EQ(parts.server, c.server);
        EXPECT_EQ(parts.user, c.user);
    }
    // This computer's own accounts need no look at the network.
    int searches = net_.CallCount(Call::NetworkBrowse);
    AccountParts parts;
    EXPECT_TRUE(SplitAccountName(Local(L"bob").c_str(), false, parts));
    EXPECT_EQ(net_.CallCount(Call::NetworkBrowse), searches);
}

TEST_F(AccountNames, ALookupOnADomainControllerAsksTheController)
{
    ProductTypeOverride productType;
    productType.Set(L"LanManNt");
    net_.AddDomain(L"DOM", net_.ThisComputer());
    net_.AddUser(L"DOM", L"alice");
    AccountParts parts;
    ASSERT_TRUE(SplitAccountName(L"DOM\\alice", false, parts));
    EXPECT_EQ(parts.server, L"\\\\" + net_.ThisComputer());
    EXPECT_EQ(parts.user, L"alice");
}

TEST_F(AccountNames, ADomainWithoutControllerFailsTheSplit)
{
    net_.AddDomain(L"LOST", L"");
    AccountErrors = {};
    AccountParts parts;
    EXPECT_FALSE(SplitAccountName(L"LOST\\alice", false, parts));
    EXPECT_EQ(parts.server, L"");
    EXPECT_EQ(AccountErrors.os, ERROR_OUTOFMEMORY);
    EXPECT_EQ(AccountErrors.net, NERR_DCNotFound);
    EXPECT_FALSE(AccountExists(L"LOST\\alice"));
}

TEST_F(AccountNames, LooksAccountsUpInTheDomainNamedOnly)
{
    JoinDomain();
    // FARPC answers for DOM's "alice" when asked for its own: another
    // account than the one named.
    net_.AddComputer(L"FARPC", L"DOM");
    struct Case {
        std::wstring account;
        bool found;
        std::wstring domain;
        DWORD os;
    } cases[] = {
        {Local(L"bob"), true, net_.ThisComputer(), 0},
        {L"DOM\\alice", true, L"DOM", 0},
        {L"TRUSTED\\carol", true, L"TRUSTED", 0},
        {L"FARPC\\alice", false, L"", ERROR_NONE_MAPPED},
        {L"DOM\\nobody", false, L"", ERROR_NONE_MAPPED},
        {L"bob", false, L"", ERROR_OUTOFMEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.account.c_str());
        AccountErrors = {};
        AccountFacts facts{};
        EXPECT_EQ(LookupAccount(c.account.c_str(), &facts), c.found);
        EXPECT_EQ(AccountExists(c.account.c_str()), c.found);
        if (c.found) {
            EXPECT_EQ(facts.domain, c.domain);
            EXPECT_EQ(facts.kind, SidTypeUser);
            EXPECT_TRUE(IsValidSid(facts.sid.data()));
        } else {
            EXPECT_EQ(AccountErrors.os, c.os);
        }
    }
}

TEST_F(AccountNames, TheDomainSearchEnds)
{
    JoinDomain();
    // A container that holds itself would be searched for ever.
    net_.AddLoopingContainer();
    EXPECT_TRUE(IsDomainName(L"dom"));
    EXPECT_FALSE(IsDomainName(L"ELSEWHERE"));
    // The search goes two levels down: providers and their domains.
    net_.BuryDomains(1);
    EXPECT_FALSE(IsDomainName(L"DOM"));
    net_.BuryDomains(0);
    net_.Fail(Call::NetworkBrowse, ERROR_NO_NETWORK);
    EXPECT_FALSE(IsDomainName(L"DOM"));
}

TEST_F(AccountNames, TheDomainSearchGivesUpOnASlowNetwork)
{
    JoinDomain();
    for (int i = 0; i < 40; ++i)
        net_.AddDomain(L"SLOW" + std::to_wstring(i), L"");
    net_.PageEntries(1);
    net_.DelayEnumeration(250);
    DWORD started = GetTickCount();
    EXPECT_FALSE(IsDomainName(L"ELSEWHERE"));
    EXPECT_LT(GetTickCount() - started, 8000u);
}

TEST_F(AccountNames, ADomainControllerSaysSoInTheRegistry)
{
    ProductTypeOverride productType;
    const struct {
        const wchar_t* type;
        bool controller;
    } cases[] = {{L"LanManNt", true}, {L"LANMANNT", true}, {L"WinNT", false}, {L"ServerNT", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type);
        productType.Set(c.type);
        EXPECT_EQ(IsDomainController(), c.controller);
    }
    productType.Remove();
    AccountErrors = {};
    EXPECT_FALSE(IsDomainController());
    EXPECT_EQ(AccountErrors.os, ERROR_FILE_NOT_FOUND);
}

}  // namespace
