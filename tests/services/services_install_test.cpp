// setup.exe and the product's services in the test prefix's real Service
// Control Manager: the old ones stopped before the files-in-use check,
// started again when the install ends there and removed before the copy;
// the new ones registered under the service account and started, from the
// command line and from the "Service Account" dialog.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "res/resource_ids.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"
#include "support/test_services.h"

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
void ExpectRegistered(UINT bank, bool browserWasEnabled = false)
{
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(kPrograms[i]);
        RegistryKey key = ReadRegistryKey(ServiceKey(kNames[i]));
        ASSERT_TRUE(key.exists);
        EXPECT_EQ(key.values[L"DisplayName"].Text(), BankString(bank + kNames[i] + 1));
        EXPECT_EQ(key.values[L"ImagePath"].Text(), kTarget + kPrograms[i]);
        EXPECT_EQ(key.values[L"ObjectName"].Text(), ComputerName() + L"\\" + UserName());
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

TEST_F(ServicesInstall, TheAccountFromTheCommandLineRunsTheServicesInPlaceOfTheOldOnes)
{
    CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
    CopyFolder(FixturePath(L"product"), kTarget);
    std::vector<std::unique_ptr<TestService>> old;
    for (int i = 0; i < 3; ++i) {
        old.push_back(std::make_unique<TestService>(kNames[i], kTarget + kPrograms[i]));
        ASSERT_TRUE(old.back()->Start());
    }
    {
        HeldFile running = HoldFile(kTarget + L"TWWINNT.EXE", FILE_SHARE_READ);
        ASSERT_TRUE(running);
        EXPECT_EQ(Install(L"/SMS: /TS:"), 1u);
        for (const auto& service : old)
            EXPECT_TRUE(WaitForServiceState(service->Name(), SERVICE_RUNNING)) << service->Name().c_str();
    }
    // Still running, their programs would be files in use; not removed,
    // they could not be registered anew.
    EXPECT_EQ(Install(L"/L:2 /SMS: /TS:", L"share-es"), 0u);
    ExpectRegistered(2000, true);
    for (const wchar_t* program : kPrograms)
        EXPECT_TRUE(SameBytes(kTarget + program, ProductFile(program))) << program;

    old.clear();
    RemoveProductInstall();
    EXPECT_EQ(Install(L"/SMS: /TS:"), 0u);
    ExpectRegistered(1000);
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

TEST_F(ServicesInstall, TheAccountDialogAsksUntilTheAccountIsFit)
{
    SetupLaunch launch;
    launch.namesServiceAccount = false;
    launch.program = FixturePath(L"share-en") + L"setup.exe";
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", launch);
    HWND dialog = setup.WaitForDialog(L"Service Account", 60000);
    ASSERT_NE(dialog, nullptr);
    // This computer, selected; its LAN group under Wine has the same name
    // and is not offered twice.
    HWND domains = GetDlgItem(dialog, IDC_ACCOUNT_DOMAIN);
    EXPECT_EQ(WindowText(domains), ComputerName());
    EXPECT_EQ(SendMessageW(domains, CB_GETCOUNT, 0, 0), 1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));

    // An account that does not exist: No keeps the dialog, on the user.
    SetDlgItemTextW(dialog, IDC_ACCOUNT_USER, L"nosuchuser");
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, L"secret");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }));
    PressButton(dialog, IDOK);
    setup.Answer(L"Account Does Not Exist", IDNO);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_ACCOUNT_USER); }));

    // Yes, then a password typed differently, then Cancel: back on the
    // password.
    PressButton(dialog, IDOK);
    setup.Answer(L"Account Does Not Exist", IDYES);
    HWND confirm = setup.WaitForDialog(L"Confirm Password");
    ASSERT_NE(confirm, nullptr);
    SetDlgItemTextW(confirm, IDC_ACCOUNT_PASSWORD, L"Secret");
    PressButton(confirm, IDOK);
    setup.Answer(L"Mismatch", IDOK);
    PressButton(confirm, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_ACCOUNT_PASSWORD); }));

    // This prefix's user exists; under Wine it is not yet an administrator
    // as far as the membership list says, and holds no right.
    SetDlgItemTextW(dialog, IDC_ACCOUNT_USER, UserName().c_str());
    PressButton(dialog, IDOK);
    setup.Answer(L"Administrative Rights Required", IDYES);
    setup.Answer(L"Rights Granted", IDOK);
    setup.Answer(L"Rights Granted", IDOK);
    setup.Answer(L"Read Important Information", IDNO);
    HWND button = setup.WaitForCancelButton();
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    ExpectRegistered(1000);
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup.WaitForExit(), 0u);
}

// The test build of setup over the simulated network `scenario` (see
// tests/support/simulated_setup.cpp), started from a copy of the English
// share.
std::unique_ptr<SetupProcess> StartSimulated(const wchar_t* scenario, const std::wstring& arguments)
{
    const std::wstring& share = kSimulatedShare;
    CopyFolder(FixturePath(L"share-en"), share);
    std::wstring built = SETUP_EXE_PATH;
    built.replace(built.rfind(L"setup.exe"), 9, L"setup_simulated.exe");
    CopyFileW(built.c_str(), (share + L"setup.exe").c_str(), FALSE);
    SetEnvironmentVariableW(L"SETUP_SIMULATION", scenario);
    SetupLaunch launch;
    launch.namesServiceAccount = false;
    launch.program = share + L"setup.exe";
    auto setup = std::make_unique<SetupProcess>(arguments + L" /DEST:C:\\TAPWRITE\\NT", launch);
    SetEnvironmentVariableW(L"SETUP_SIMULATION", nullptr);
    return setup;
}

TEST_F(ServicesInstall, AMissingAccountIsCreatedWithItsRightsAndRunsTheServices)
{
    auto setup = StartSimulated(L"account-missing", L"/SMS: /TS: /USER:$DEFAULT$ /DOMAIN:$LOCAL$ /PASSWORD:$DEFAULT$");
    EXPECT_EQ(setup->WaitForExit(60000), 0u);
    RegistryKey key = ReadRegistryKey(ServiceKey(IDS_SERVICE_NAMING));
    EXPECT_EQ(key.values[L"ObjectName"].Text(), ComputerName() + L"\\Velmar Service Acct");
    EXPECT_TRUE(WaitForServiceState(BankString(1000 + IDS_SERVICE_SERVER), SERVICE_RUNNING));
}

TEST_F(ServicesInstall, ALogonFailureAsksForTheAccountAgain)
{
    auto setup = StartSimulated(L"logon-failure", L"/L:1 /TS:");
    HWND dialog = setup->WaitForDialog(L"Service Account", 60000);
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_ACCOUNT_USER, L"bob");
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, L"wrong");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(setup->Answer(L"Login Failure", IDRETRY, 30000));
    // Back with the values tried, to correct the password.
    dialog = setup->WaitForDialog(L"Service Account");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_ACCOUNT_USER), L"bob");
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_ACCOUNT_PASSWORD); }));
    SetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, L"right");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(setup->Answer(L"Read Important Information", IDNO, 60000));
    EXPECT_TRUE(WaitForServiceState(BankString(1000 + IDS_SERVICE_NAMING), SERVICE_RUNNING));
}

}  // namespace
