// The service account from the command line, over a simulated network: the
// generated passwords, the keywords settled on a workstation and on a domain
// controller, the account created with its rights, and the services' start
// failures that end an unattended install.
#include <wchar.h>

#include <gtest/gtest.h>

#include <string>

#include "network_fixture.h"
#include "res/resource_ids.h"
#include "services/accounts.h"
#include "services/account_password.h"
#include "services/service_account.h"
#include "services/service_install.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/test_services.h"

namespace {

const wchar_t kAlphabet[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

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
    ASSERT_TRUE(MakeRandomPassword(first));
    ASSERT_TRUE(MakeRandomPassword(second));
    for (const wchar_t* drawn : {first, second}) {
        EXPECT_EQ(wcslen(drawn), static_cast<size_t>(kGeneratedPasswordChars));
        EXPECT_EQ(wcsspn(drawn, kAlphabet), static_cast<size_t>(kGeneratedPasswordChars));
    }
    EXPECT_STRNE(first, second);
}

TEST(AccountOptions, KeywordsSettleAnAccountThatIsCreatedWithItsRights)
{
    ProductTypeOverride productType;
    for (bool controller : {false, true}) {
        SCOPED_TRACE(controller ? "domain controller" : "workstation");
        SimulatedNetwork net;
        net.AddDomain(L"TAPEDOM", controller ? net.ThisComputer() : L"DC1");
        if (controller) {
            net.BecomeController(L"TAPEDOM");
            productType.Set(L"LanManNt");
        } else {
            net.JoinDomain(L"TAPEDOM");
            productType.Set(L"WinNT");
        }
        ResetSetupState(L"setup.exe /SMS: /USER:$DEFAULT$ /DOMAIN:$LOCAL$ /PASSWORD:$DEFAULT$");
        ServiceAccountRecord account = {};
        EXPECT_TRUE(ObtainServiceAccountFromOptions(account));
        const std::wstring domain = controller ? L"TAPEDOM" : net.ThisComputer();
        EXPECT_EQ(account.domain, domain);
        EXPECT_STREQ(account.user, L"Velmar Service Acct");
        wchar_t expected[kGeneratedPasswordChars + 1];
        MakeDefaultPassword(domain.c_str(), L"Velmar Service Acct", expected);
        EXPECT_STREQ(account.password, expected);

        const SimulatedNetwork::User* user = net.FindUser(domain, L"Velmar Service Acct");
        ASSERT_NE(user, nullptr);
        EXPECT_EQ(user->password, expected);
        EXPECT_EQ(user->comment, L"Velmar System Service Account");
        EXPECT_EQ(user->flags, static_cast<DWORD>(UF_SCRIPT | UF_PASSWD_CANT_CHANGE | UF_NORMAL_ACCOUNT |
                                                  UF_DONT_EXPIRE_PASSWD));
        const std::wstring name = domain + L"\\Velmar Service Acct";
        EXPECT_TRUE(net.IsDirectAdministrator(domain, name));
        EXPECT_TRUE(net.LogonModes(domain, name) & kServiceLogonMode);
        EXPECT_EQ(net.OutstandingBuffers(), 0);
        EXPECT_EQ(net.OpenLsaHandles(), 0);
    }
}

TEST(AccountOptions, AMissingOrOverlongOptionIsNoAccount)
{
    const std::wstring overlong = L"setup.exe /USER:bob /PASSWORD:x /DOMAIN:" + std::wstring(16, L'D');
    for (const std::wstring& line : {std::wstring(L"setup.exe /USER:bob /PASSWORD:x"), overlong}) {
        ResetSetupState(line.c_str());
        ServiceAccountRecord account = {};
        EXPECT_FALSE(ObtainServiceAccountFromOptions(account)) << line.c_str();
    }
}

// The services' start failures, unattended, with the account of this
// computer's user "bob" on the command line.
class ServiceStartFailures : public NetworkTest {
protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        net_.AddAdministrator(net_.ThisComputer(), Local(L"bob"));
        net_.SetLogonModes(net_.ThisComputer(), Local(L"bob"), kServiceLogonMode);
        line_ = L"setup.exe /SMS: /TS: /USER:bob /DOMAIN:" + net_.ThisComputer() + L" /PASSWORD:x";
        ResetSetupState(line_.c_str());
        RemoveProductServices();
    }
    void TearDown() override
    {
        RemoveProductServices();
        NetworkTest::TearDown();
    }
    std::wstring line_;
};

TEST_F(ServiceStartFailures, EndTheInstallAfterOneAttemptAndLeaveNoService)
{
    for (DWORD error : {static_cast<DWORD>(ERROR_SERVICE_LOGON_FAILED),
                        static_cast<DWORD>(ERROR_SERVICE_REQUEST_TIMEOUT)}) {
        SCOPED_TRACE(error);
        ResetSetupState(line_.c_str());
        int before = net_.ServiceStartAttempts();
        net_.FailServiceStart(error);
        EXPECT_EQ(InstallServices(FixturePath(L"product").c_str()), 0);
        EXPECT_EQ(net_.ServiceStartAttempts() - before, 1);
        EXPECT_EQ(ServiceState(BankString(1000 + IDS_SERVICE_NAMING)), 0u);
        // The password is wiped once the services no longer need it.
        EXPECT_STREQ(ServiceAccount.password, L"");
    }
}

TEST_F(ServiceStartFailures, ANameStillMarkedForDeletionIsTriedAgain)
{
    net_.FailServiceCreate(ERROR_SERVICE_MARKED_FOR_DELETE, 2);
    // Without a running workstation service nothing is depended on.
    net_.Fail(SimulatedNetwork::Call::NetWkstaGetInfo, NERR_WkstaNotStarted);
    EXPECT_EQ(InstallServices(FixturePath(L"product").c_str()), 1);
    EXPECT_EQ(ServiceState(BankString(1000 + IDS_SERVICE_NAMING)), static_cast<DWORD>(SERVICE_RUNNING));
    const std::wstring key = L"System\\CurrentControlSet\\Services\\" + BankString(1000 + IDS_SERVICE_NAMING);
    EXPECT_TRUE(ReadRegistryKey(key).exists);
    EXPECT_FALSE(ReadRegistryValue(key, L"DependOnService").present);
}

TEST_F(ServiceStartFailures, AMissingProgramIsReportedWithItsCode)
{
    std::wstring line = line_.substr(0, line_.find(L"/SMS: ")) + line_.substr(line_.find(L"/SMS: ") + 6);
    ResetSetupState(line.c_str());
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(InstallServices(L"C:\\TWNOWHERE\\"), 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Unexpected Error");
    EXPECT_NE(answerer.Boxes()[0].text.find(L"OS error 0x"), std::wstring::npos);
}

}  // namespace
