// The service account from the command line: the generated passwords, and
// the failures of the services' installation for this prefix's user, with
// the service manager's create and start calls failing as each case needs.
#include <wchar.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "services/account_password.h"
#include "services/service_install.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/test_services.h"

using namespace support;

namespace {

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

PlatformCalls real;
int createFailures;
int starts;
DWORD startError;
// A start that went on being retried succeeds after this many failures.
constexpr int kStartFailures = 3;

SC_HANDLE WINAPI CreateAfterDeletion(SC_HANDLE manager, LPCWSTR name, LPCWSTR display, DWORD access, DWORD type,
                                     DWORD start, DWORD errorControl, LPCWSTR path, LPCWSTR group, LPDWORD tag,
                                     LPCWSTR dependencies, LPCWSTR account, LPCWSTR password)
{
    if (createFailures > 0) {
        --createFailures;
        SetLastError(ERROR_SERVICE_MARKED_FOR_DELETE);
        return nullptr;
    }
    return real.CreateServiceW(manager, name, display, access, type, start, errorControl, path, group, tag,
                               dependencies, account, password);
}

BOOL WINAPI StartOrFail(SC_HANDLE service, DWORD count, LPCWSTR* arguments)
{
    SetLastError(startError);
    return startError && ++starts <= kStartFailures ? FALSE : real.StartServiceW(service, count, arguments);
}

// Installing the services unattended, for this prefix's user.
class ServiceInstallFailures : public ::testing::Test {
protected:
    void SetUp() override
    {
        real = Platform();
        Platform().CreateServiceW = CreateAfterDeletion;
        Platform().StartServiceW = StartOrFail;
        line_ = L"setup.exe /SMS: /TS: /USER:" + UserName() + L" /DOMAIN:$LOCAL$ /PASSWORD:x";
        ResetSetupState(line_.c_str());
        RemoveProductServices();
    }
    void TearDown() override
    {
        Platform() = real;
        RemoveProductServices();
    }
    static DWORD NamingState() { return ServiceState(BankString(1000 + IDS_SERVICE_NAMING)); }

    std::wstring line_;
};

// A start that fails ends the install after one attempt, with no service
// left; a name still marked for deletion is tried again. Either way the
// password is gone when the install ends.
TEST_F(ServiceInstallFailures, AFailedStartEndsTheInstallAndAMarkedNameIsTriedAgain)
{
    const struct {
        DWORD startError;
        int createFailures;
    } cases[] = {{ERROR_SERVICE_LOGON_FAILED, 0}, {ERROR_SERVICE_REQUEST_TIMEOUT, 0}, {0, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.startError);
        ResetSetupState(line_.c_str());
        starts = 0;
        startError = c.startError;
        createFailures = c.createFailures;
        ManagerOpens opens;
        EXPECT_EQ(InstallServices(FixturePath(L"product").c_str()), c.startError == 0);
        if (!c.startError) {
            EXPECT_EQ(opens.Take(), 1) << "one manager for the three services";
        }
        EXPECT_EQ(starts, c.startError ? 1 : 0);
        EXPECT_EQ(NamingState(), c.startError ? 0u : static_cast<DWORD>(SERVICE_RUNNING));
        EXPECT_STREQ(ServiceAccount.password, L"");
    }
}

TEST_F(ServiceInstallFailures, AMissingProgramIsReportedWithItsCode)
{
    ResetSetupState((L"setup.exe /TS: /USER:" + UserName() + L" /DOMAIN:$LOCAL$ /PASSWORD:x").c_str());
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_FALSE(InstallServices(L"C:\\TWNOWHERE\\"));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Unexpected Error");
    EXPECT_NE(answerer.Boxes()[0].text.find(L"OS error 0x3, 3 decimal"), std::wstring::npos)
        << answerer.Boxes()[0].text.c_str();
}

}  // namespace
