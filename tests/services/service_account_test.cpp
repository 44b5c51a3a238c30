// The service account from the command line over a simulated network: the
// generated passwords, the keywords settled on a workstation and on a domain
// controller into an account that is created with its rights, and the
// failures of the services' installation that end an unattended install.
#include <wchar.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "services/account_password.h"
#include "services/accounts.h"
#include "services/service_account.h"
#include "services/service_install.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/simulated_network.h"
#include "support/test_services.h"

namespace {

using Call = SimulatedNetwork::Call;

TEST(AccountPasswords, TheSitesPasswordIsFixedAndTheRandomOneIsNot)
{
    wchar_t password[kGeneratedPasswordChars + 1];
    // Worked by hand: NameHash of the user 0x2BDD44, of the domain 0x8649A6D,
    // their exclusive or seeds the generator, whose draws modulo 62 are
    // placed from the last character to the first.
    MakeDefaultPassword(L"TAPEDOM", L"Velmar Service Acct", password);
    EXPECT_STREQ(password, L"REzC5RPhzi");

    wchar_t first[kGeneratedPasswordChars + 1];
    wchar_t second[kGeneratedPasswordChars + 1];
    ASSERT_TRUE(MakeRandomPassword(first) && MakeRandomPassword(second));
    for (const wchar_t* drawn : {first, second}) {
        EXPECT_EQ(wcslen(drawn), static_cast<size_t>(kGeneratedPasswordChars));
        EXPECT_EQ(wcsspn(drawn, L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                  static_cast<size_t>(kGeneratedPasswordChars));
    }
    EXPECT_STRNE(first, second);
}

TEST(AccountOptions, KeywordsSettleAnAccountThatIsCreatedWithItsRights)
{
    ProductTypeOverride productType;
    for (bool controller : {false, true}) {
        SCOPED_TRACE(controller ? "domain controller" : "workstation");
        SimulatedNetwork net;
        net.AddDomain(L"TAPEDOM", controller ? net.thisComputer : L"DC1");
        net.computers[0].domain = L"TAPEDOM";
        productType.Set(controller ? L"LanManNt" : L"WinNT");
        ResetSetupState(L"setup.exe /SMS: /USER:$DEFAULT$ /DOMAIN:$LOCAL$ /PASSWORD:$DEFAULT$");
        ServiceAccountRecord account = {};
        EXPECT_TRUE(ObtainServiceAccountFromOptions(account));
        const std::wstring domain = controller ? L"TAPEDOM" : net.thisComputer;
        EXPECT_EQ(account.domain, domain);
        EXPECT_STREQ(account.user, L"Velmar Service Acct");
        wchar_t expected[kGeneratedPasswordChars + 1];
        MakeDefaultPassword(domain.c_str(), L"Velmar Service Acct", expected);
        EXPECT_STREQ(account.password, expected);

        const SimulatedNetwork::Account* user = net.FindAccount(domain, L"Velmar Service Acct");
        ASSERT_NE(user, nullptr);
        EXPECT_EQ(user->password, expected);
        const std::wstring name = domain + L"\\Velmar Service Acct";
        EXPECT_TRUE(net.IsAdministrator(domain, name));
        EXPECT_EQ(net.logonModes[SimulatedNetwork::AccountObject(domain, name)], kServiceLogonMode);
        EXPECT_TRUE(net.buffers.empty() && net.lsaHandles.empty());
    }
    // An option that does not fit its field is no account.
    ResetSetupState(L"setup.exe /USER:bob /PASSWORD:x /DOMAIN:DDDDDDDDDDDDDDDD");
    ServiceAccountRecord account = {};
    EXPECT_FALSE(ObtainServiceAccountFromOptions(account));
}

// Installing the services unattended, with this computer's administrator
// "bob", who holds the right, on the command line.
class ServiceInstallFailures : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring bob = net_.thisComputer + L"\\bob";
        net_.accounts.push_back({net_.thisComputer, L"bob"});
        net_.administrators[net_.thisComputer] = {bob};
        net_.logonModes[{net_.thisComputer, bob}] = kServiceLogonMode;
        line_ = L"setup.exe /SMS: /TS: /USER:bob /DOMAIN:" + net_.thisComputer + L" /PASSWORD:x";
        ResetSetupState(line_.c_str());
        RemoveProductServices();
    }
    void TearDown() override { RemoveProductServices(); }

    SimulatedNetwork net_;
    std::wstring line_;
};

TEST_F(ServiceInstallFailures, AStartFailureEndsTheInstallAfterOneAttemptWithoutAServiceOrPassword)
{
    for (DWORD error : {ERROR_SERVICE_LOGON_FAILED, ERROR_SERVICE_REQUEST_TIMEOUT}) {
        SCOPED_TRACE(error);
        ResetSetupState(line_.c_str());
        int before = net_.calls[Call::StartServiceW];
        net_.Fail(Call::StartServiceW, error);
        EXPECT_EQ(InstallServices(FixturePath(L"product").c_str()), 0);
        EXPECT_EQ(net_.calls[Call::StartServiceW] - before, 1);
        EXPECT_EQ(ServiceState(BankString(1000 + IDS_SERVICE_NAMING)), 0u);
        EXPECT_STREQ(ServiceAccount.password, L"");
    }
}

TEST_F(ServiceInstallFailures, ANameStillMarkedForDeletionIsTriedAgain)
{
    net_.Fail(Call::CreateServiceW, ERROR_SERVICE_MARKED_FOR_DELETE, 2);
    // Without a running workstation service nothing is depended on.
    net_.Fail(Call::NetWkstaGetInfo, NERR_WkstaNotStarted);
    EXPECT_EQ(InstallServices(FixturePath(L"product").c_str()), 1);
    EXPECT_EQ(ServiceState(BankString(1000 + IDS_SERVICE_NAMING)), static_cast<DWORD>(SERVICE_RUNNING));
    const std::wstring key = L"System\\CurrentControlSet\\Services\\" + BankString(1000 + IDS_SERVICE_NAMING);
    EXPECT_TRUE(ReadRegistryKey(key).exists);
    EXPECT_FALSE(ReadRegistryValue(key, L"DependOnService").present);
}

TEST_F(ServiceInstallFailures, AMissingProgramIsReportedWithItsCode)
{
    ResetSetupState((L"setup.exe /TS: /USER:bob /DOMAIN:" + net_.thisComputer + L" /PASSWORD:x").c_str());
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(InstallServices(L"C:\\TWNOWHERE\\"), 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Unexpected Error");
    EXPECT_NE(answerer.Boxes()[0].text.find(L"OS error 0x3, 3 decimal"), std::wstring::npos)
        << answerer.Boxes()[0].text.c_str();
}

}  // namespace
