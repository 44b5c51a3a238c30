// setup.exe and the product's services in the test prefix's real Service
// Control Manager: registered under the service account and started, from
// the command line and from the "Service Account" dialog; stopped before the
// files-in-use check, started again when the install ends there, and
// removed before the copy of a reinstall.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "res/resource_ids.h"
#include "support/in_process.h"
#include "services/service_handle.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/test_services.h"

using namespace support;

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
const std::wstring kSimulatedShare = L"C:\\TWSIM\\";
const wchar_t* const kPrograms[] = {L"twnser.exe", L"twserver.exe", L"twnetns.exe"};
const UINT kNames[] = {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER, IDS_SERVICE_BROWSER};

std::wstring ServiceKey(UINT nameId)
{
    return L"System\\CurrentControlSet\\Services\\" + BankString(1000 + nameId);
}

// An unattended install from the share `share`.
DWORD Install(const std::wstring& options, const wchar_t* share = L"share-en", SetupLaunch launch = {})
{
    launch.program = FixturePath(share) + L"setup.exe";
    return SetupProcess(options + L" /DEST:C:\\TAPWRITE\\NT", launch).WaitForExit(60000);
}

// The three services as an install registers them in `bank`; the agent
// browser runs only when it was enabled before.
void ExpectRegistered(UINT bank, bool browserWasEnabled = false,
                      const std::wstring& account = ComputerName() + L"\\" + UserName())
{
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(kPrograms[i]);
        KeyValues key = ReadRegistryKey(ServiceKey(kNames[i]));
        ASSERT_TRUE(key.exists);
        EXPECT_EQ(key.values[L"DisplayName"].Text(), BankString(bank + kNames[i] + 1));
        EXPECT_EQ(key.values[L"ImagePath"].Text(), kTarget + kPrograms[i]);
        EXPECT_EQ(key.values[L"ObjectName"].Text(), account);
        EXPECT_EQ(key.values[L"Type"].Number(), static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
        bool browser = kNames[i] == IDS_SERVICE_BROWSER;
        bool off = browser && !browserWasEnabled;
        EXPECT_EQ(key.values[L"Start"].Number(), static_cast<DWORD>(off ? SERVICE_DISABLED : SERVICE_AUTO_START));
        EXPECT_TRUE(WaitForServiceState(BankString(1000 + kNames[i]), off ? SERVICE_STOPPED : SERVICE_RUNNING));
        // The workstation service runs under Wine, so the dependencies are set.
        EXPECT_TRUE(key.values[browser ? L"DependOnGroup" : L"DependOnService"].present);
    }
}

void ExpectNoService()
{
    for (UINT name : kNames)
        EXPECT_FALSE(ReadRegistryKey(ServiceKey(name)).exists) << name;
}

// The focus of another process's dialog.
HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

class ServicesInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        RemoveProductInstall();
    }
    void TearDown() override
    {
        RemoveProductInstall();
        RemoveTree(kSimulatedShare);
    }
};

// The agent browser as a site enables it after the install disabled it.
void EnableAgentBrowser()
{
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle browser(
        OpenServiceW(manager.get(), BankString(1000 + IDS_SERVICE_BROWSER).c_str(), SERVICE_CHANGE_CONFIG));
    ASSERT_TRUE(ChangeServiceConfigW(browser.get(), SERVICE_NO_CHANGE, SERVICE_DEMAND_START, SERVICE_NO_CHANGE,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(ServicesInstall, TheAccountFromTheCommandLineRunsTheServices)
{
    EXPECT_EQ(Install(L"/SMS: /TS:"), 0u);
    ExpectRegistered(1000);
    {
        HeldFile running = HoldFile(kTarget + L"TWWINNT.EXE", FILE_SHARE_READ);
        ASSERT_TRUE(running);
        EXPECT_EQ(Install(L"/SMS: /TS:"), 1u);
        for (UINT name : {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER})
            EXPECT_TRUE(WaitForServiceState(BankString(1000 + name), SERVICE_RUNNING)) << name;
    }
    // Still running, their programs would be files in use; not removed,
    // they could not be registered anew.
    EnableAgentBrowser();
    EXPECT_EQ(Install(L"/L:2 /SMS: /TS:", L"share-es"), 0u);
    ExpectRegistered(2000, true);
    for (const wchar_t* program : kPrograms)
        EXPECT_TRUE(SameBytes(kTarget + program, ProductFile(program))) << program;

    RemoveProductInstall();
    EXPECT_EQ(Install(L"/SMS: /EV:"), 0u);
    ExpectNoService();
    // Wine keeps a created account inside the creating process, where its
    // right cannot be granted: the rights error ends the install.
    SetupLaunch launch;
    launch.namesServiceAccount = false;
    EXPECT_EQ(Install(L"/SMS: /TS: /USER:$DEFAULT$ /DOMAIN:$LOCAL$ /PASSWORD:$RANDOM$", L"share-en", launch), 1u);
    ExpectNoService();
}

// A site's own program registered under a product service's name is not the
// product's to stop, replace or delete.
TEST_F(ServicesInstall, AnotherProgramUnderAServiceNameIsLeftAlone)
{
    RegistryOverride pending(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                             L"PendingFileRenameOperations");
    const std::wstring key = ServiceKey(IDS_SERVICE_BROWSER);
    auto registerForeign = [] {
        return std::make_unique<TestService>(IDS_SERVICE_BROWSER, L"C:\\Other\\foreign.exe");
    };
    auto foreign = registerForeign();
    TestService naming(IDS_SERVICE_NAMING, ProductFile(L"twnser.exe"));
    ASSERT_TRUE(foreign->Created() && naming.Start());
    const KeyValues registered = ReadRegistryKey(key);
    const DWORD namingProcess = ServiceProcess(naming.Name());
    auto expectUntouched = [&](const char* after) {
        SCOPED_TRACE(after);
        KeyValues now = ReadRegistryKey(key);
        for (const auto& [name, value] : registered.values)
            EXPECT_EQ(now.values[name].bytes, value.bytes) << name.c_str();
    };

    // The install ends before it changes anything.
    EXPECT_EQ(Install(L"/SMS: /TS:"), 1u);
    expectUntouched("the install");
    EXPECT_EQ(ServiceProcess(naming.Name()), namingProcess) << "still running, never stopped";
    EXPECT_FALSE(Exists(L"C:\\TAPWRITE"));
    EXPECT_FALSE(ReadRegistryKey(L"SOFTWARE\\Velmar").exists);

    // The uninstall removes the product's services and goes past that one.
    foreign.reset();
    EXPECT_EQ(Install(L"/SMS: /TS:"), 0u);
    RemoveService(BankString(1000 + IDS_SERVICE_BROWSER));
    foreign = registerForeign();
    SetupProcess uninstall(L"/U: /UNINSTALL: /SMS:", From(kTarget));
    EXPECT_EQ(uninstall.WaitForExit(120000), 0u);
    expectUntouched("the uninstall");
    for (UINT name : {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER})
        EXPECT_EQ(ServiceState(BankString(1000 + name)), 0u) << name;
}

// The test build of setup in `scenario` (see
// tests/support/simulated_setup.cpp), started from a copy of the English
// share.
std::unique_ptr<SetupProcess> StartSimulated(const wchar_t* scenario, const std::wstring& arguments)
{
    CopySimulatedShare(kSimulatedShare);
    SetEnvironmentVariableW(L"SETUP_SIMULATION", scenario);
    SetupLaunch launch;
    launch.namesServiceAccount = false;
    launch.program = kSimulatedShare + L"setup.exe";
    auto setup = std::make_unique<SetupProcess>(arguments + L" /DEST:C:\\TAPWRITE\\NT", launch);
    SetEnvironmentVariableW(L"SETUP_SIMULATION", nullptr);
    return setup;
}

TEST_F(ServicesInstall, TheAccountDialogTakesAnAccountAgainAfterALogonFailure)
{
    auto setup = StartSimulated(L"logon-failure", L"/L:1 /TS:");
    HWND dialog = setup->WaitForDialog(L"Service Account", 60000);
    ASSERT_NE(dialog, nullptr);
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND domain = FindWindowExW(GetDlgItem(dialog, IDC_ACCOUNT_DOMAIN), nullptr, L"Edit", nullptr);
    EXPECT_EQ(WindowText(domain), ComputerName());
    EXPECT_FALSE(IsWindowEnabled(ok)) << "no user";
    SetDlgItemTextW(dialog, IDC_ACCOUNT_USER, UserName().c_str());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
    // The text, and the notification that typing it would send.
    auto typeDomain = [&](const std::wstring& text) {
        SetWindowTextW(domain, text.c_str());
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ACCOUNT_DOMAIN, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ACCOUNT_DOMAIN)));
    };
    typeDomain(L"");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) == FALSE; })) << "no domain";
    typeDomain(ComputerName());
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, L"wrong");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
    PressButton(dialog, IDOK);
    // Under Wine the prefix's user is not an administrator as far as the
    // membership list says, and holds no right, each time it is checked.
    auto grantRights = [&] {
        EXPECT_TRUE(setup->Answer(L"Administrative Rights Required", IDYES));
        EXPECT_TRUE(setup->Answer(L"Rights Granted", IDOK));
        EXPECT_TRUE(setup->Answer(L"Rights Granted", IDOK));
    };
    grantRights();
    ASSERT_TRUE(setup->Answer(L"Login Failure", IDRETRY, 30000));
    // Back with the values tried, to correct the password.
    dialog = setup->WaitForDialog(L"Service Account");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_ACCOUNT_USER), UserName());
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_ACCOUNT_PASSWORD); }));
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, L"right");
    PressButton(dialog, IDOK);
    grantRights();
    ASSERT_TRUE(setup->Answer(L"Read Important Information", IDNO, 60000));
    HWND button = setup->WaitForCancelButton();
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    ExpectRegistered(1000);
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup->WaitForExit(), 0u);
}

// Setup creates the missing account and grants its rights, which Wine accepts.
TEST_F(ServicesInstall, AnAccountSetupCreatesRunsTheServices)
{
    const wchar_t* created = L"/SMS: /TS: /USER:$DEFAULT$ /DOMAIN:$LOCAL$ /PASSWORD:$DEFAULT$";
    EXPECT_EQ(StartSimulated(L"account-missing", created)->WaitForExit(60000), 0u);
    ExpectRegistered(1000, false, ComputerName() + L"\\Velmar Service Acct");
}

// By hand, the password typed for the missing account is typed again in a
// dialog of the account dialog's own, which holds it meanwhile.
TEST_F(ServicesInstall, ATypedPasswordIsConfirmedWhileTheAccountDialogWaits)
{
    auto setup = StartSimulated(L"account-missing", L"/L:1 /TS:");
    HWND dialog = setup->WaitForDialog(L"Service Account", 60000);
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_ACCOUNT_USER, L"Velmar Service Acct");
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, L"Tape 2 Site");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(setup->Answer(L"Account Does Not Exist", IDYES));
    HWND confirm = setup->WaitForDialog(L"Confirm Password");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(GetWindow(confirm, GW_OWNER), dialog);
    EXPECT_FALSE(IsWindowEnabled(dialog));
    SetDlgItemTextW(confirm, IDC_ACCOUNT_PASSWORD, L"Tape 2 Site");
    PressButton(confirm, IDOK);
    ASSERT_TRUE(setup->Answer(L"Account Created", IDOK));
    ASSERT_TRUE(setup->Answer(L"Read Important Information", IDNO, 60000));
    ExpectRegistered(1000, false, ComputerName() + L"\\Velmar Service Acct");
    HWND button = setup->WaitForCancelButton();
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup->WaitForExit(), 0u);
}

}  // namespace
