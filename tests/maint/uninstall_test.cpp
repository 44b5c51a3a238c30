// Whole uninstalls by setup's installed copy of a real Backup Server install,
// and the refusal to uninstall from anywhere else.
#include <gtest/gtest.h>

#include "registry/product_keys.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/maintenance_support.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/start_menu.h"
#include "support/test_services.h"
#include "support/unix_link.h"

using namespace support;

namespace {

const std::wstring kProductDir = L"C:\\TAPWRITE\\NT\\";
const std::wstring kVelmar = L"SOFTWARE\\Velmar\\";
const wchar_t* const kProductKeys[] = {L"Tapewright",         L"ZiruVer", L"Agent Browser", L"Network",
                                       L"Tapewright Monitor", L"JobScope"};
const std::wstring kDownload = L"C:\\TWDL\\";
const std::wstring kUser = L"C:\\TWUSER\\";
const std::wstring kWork = L"C:\\TWWORK\\";

// Everything of the product is gone but what the restart is to delete
// (`pending`, in order) and what the product did not install (`kept`).
#define EXPECT_UNINSTALLED(...) do { SCOPED_TRACE("EXPECT_UNINSTALLED"); ExpectUninstalled(__VA_ARGS__); } while (0)
void ExpectUninstalled(const std::set<std::wstring>& kept, const std::vector<std::wstring>& pending)
{
    for (UINT name : {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER, IDS_SERVICE_BROWSER})
        EXPECT_EQ(ServiceState(BankString(1000 + name)), 0u) << name;
    EXPECT_EQ(FilesIn(kProductDir), kept);
    for (const wchar_t* tree : {L"DATA", L"CATALOGS"})
        EXPECT_FALSE(Exists(kProductDir + tree)) << tree;
    EXPECT_FALSE(Exists(StartMenuGroupFolder(BankString(1000 + IDS_GROUP_NAME))));
    for (const wchar_t* key : kProductKeys)
        EXPECT_FALSE(ReadRegistryKey(kVelmar + key).exists) << key;
    EXPECT_TRUE(ReadRegistryKey(kVelmar + L"OtherProduct").exists);
    EXPECT_TRUE(Exists(SystemDirectory() + L"dlg3d32.dll"));
    std::vector<std::wstring> expected;
    for (const std::wstring& name : pending) {
        expected.push_back(kProductDir + name);
        EXPECT_FALSE(GetFileAttributesW(expected.back().c_str()) & FILE_ATTRIBUTE_READONLY) << name.c_str();
    }
    expected.insert(expected.end(), {L"C:\\TAPWRITE\\NT", L"C:\\TAPWRITE"});
    EXPECT_EQ(PendingDeletions(), expected);
}

class Uninstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        Clean();
        pending_.Remove();
        // Keys the install does not make: a product key's nested subkeys,
        // and another product's key, which stays.
        HKEY key = nullptr;
        for (const wchar_t* name : {L"ZiruVer\\Engine\\Cache", L"JobScope\\Views", L"OtherProduct"})
            if (RegCreateKeyW(HKEY_LOCAL_MACHINE, (kVelmar + name).c_str(), &key) == ERROR_SUCCESS)
                RegCloseKey(key);
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveProductInstall();
        RemoveTree(kDownload);
        RemoveTree(kUser);
        RemoveTree(kWork);
    }

    static void InstallBackupServer()
    {
        SetupProcess install(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
        ASSERT_EQ(install.WaitForExit(120000), static_cast<DWORD>(kExitCompleted));
    }

    RegistryOverride pending_{HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                              L"PendingFileRenameOperations"};
};

TEST_F(Uninstall, ByHandAsksThenRemovesTheProduct)
{
    ASSERT_NO_FATAL_FAILURE(InstallBackupServer());
    CreateEmptyFile(kProductDir + L"DATA\\SESSIONS\\0001.SET");
    CreateEmptyFile(kProductDir + L"CATALOGS\\TAPE1.CAT");
    CreateEmptyFile(kProductDir + L"notes.txt");
    SetFileAttributesW((kProductDir + L"twnetat.dll").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const std::set<std::wstring> installed = FilesIn(kProductDir);

    for (int answer : {IDNO, IDYES}) {
        SetupProcess setup(L"/L:1 /U:", From(kProductDir));
        HWND menu = setup.WaitForDialog(L"Tapewright Setup");
        ASSERT_NE(menu, nullptr);
        PressButton(menu, IDC_MENU_UNINSTALL);
        ASSERT_TRUE(setup.Answer(L"Confirm Uninstall", answer));
        if (answer == IDNO) {
            EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
            EXPECT_EQ(FilesIn(kProductDir), installed);
            EXPECT_NE(ServiceState(BankString(1000 + IDS_SERVICE_SERVER)), 0u);
            EXPECT_TRUE(ReadRegistryKey(kVelmar + L"Tapewright").exists);
            EXPECT_TRUE(PendingDeletions().empty());
            continue;
        }
        HWND restart = setup.WaitForDialog(L"Restart Windows", 60000);
        ASSERT_NE(restart, nullptr);
        HWND button = setup.WaitForCancelButton();
        PressButton(restart, IDCANCEL);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(restart); }));
        PostMessageW(button, BM_CLICK, 0, 0);
        EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitCompleted));
    }
    EXPECT_UNINSTALLED({L"setup.exe", L"notes.txt"}, {L"setup.exe"});
}

// A restart asked for but refused leaves the window up after the uninstall,
// and the run ends as not completed: what is in use was not deleted.
TEST_F(Uninstall, ARefusedRestartEndsAsNotCompleted)
{
    ASSERT_NO_FATAL_FAILURE(InstallBackupServer());
    std::wstring built = SETUP_EXE_PATH;
    ASSERT_TRUE(CopyFileW(built.replace(built.rfind(L"setup.exe"), 9, L"setup_simulated.exe").c_str(),
                          (kProductDir + L"setup.exe").c_str(), FALSE));
    SetEnvironmentVariableW(L"SETUP_SIMULATION", L"restart-fails");
    SetupProcess setup(L"/L:1 /U: /UNINSTALL: /REBOOT:", From(kProductDir));
    SetEnvironmentVariableW(L"SETUP_SIMULATION", nullptr);
    ASSERT_TRUE(setup.Answer(L"Confirm Uninstall", IDYES));
    ASSERT_TRUE(setup.Answer(L"Unexpected Error", IDOK, 60000));
    HWND button = setup.WaitForCancelButton();
    ASSERT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
}

// A deployment tool waits for the run to end: it must, and say it completed
// with the restart still to come (3010, which tools know), since a file was
// in use; without one the other uninstalls here end with 0.
TEST_F(Uninstall, UnattendedEndsAtOnceAndLeavesFilesInUseToTheRestart)
{
    ASSERT_NO_FATAL_FAILURE(InstallBackupServer());
    // The restart leaves a file that is still read-only where it is.
    for (const wchar_t* name : {L"setup.exe", L"twdiag.exe"})
        SetFileAttributesW((kProductDir + name).c_str(), FILE_ATTRIBUTE_READONLY);
    HeldFile holder = HoldFile(kProductDir + L"twdiag.exe", 0);
    ASSERT_TRUE(holder);
    SetupProcess setup(L"/U: /UNINSTALL: /SMS:", From(kProductDir));
    EXPECT_EQ(setup.WaitForExit(120000), static_cast<DWORD>(kExitRestartRequired));
    EXPECT_UNINSTALLED({L"setup.exe", L"twdiag.exe"}, {L"setup.exe", L"twdiag.exe"});
}

// At the restart only the directory levels that installs made go: not a
// folder the user had made above the product directory, whatever a
// reinstall found there; without a record, the product directory alone.
TEST_F(Uninstall, SchedulesOnlyTheLevelsItsInstallsMade)
{
    const std::wstring users = kWork + L"EMPTY", product = users + L"\\TW\\";
    ASSERT_TRUE(CreateDirectoryW(kWork.c_str(), nullptr) && CreateDirectoryW(users.c_str(), nullptr));
    for (int run = 0; run < 2; ++run) {
        SetupProcess install(L"/SMS: /TS: /DEST:" + product, From(FixturePath(L"share-en")));
        ASSERT_EQ(install.WaitForExit(120000), static_cast<DWORD>(kExitCompleted)) << run;
    }
    EXPECT_EQ(SetupProcess(L"/U: /UNINSTALL: /SMS:", From(product)).WaitForExit(120000),
              static_cast<DWORD>(kExitCompleted));
    EXPECT_EQ(PendingDeletions(), (std::vector<std::wstring>{product + L"setup.exe", users + L"\\TW"}));

    pending_.Remove();
    ASSERT_NO_FATAL_FAILURE(InstallBackupServer());
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kUninstallKey, kCreatedLevelsValue);
    EXPECT_EQ(SetupProcess(L"/U: /UNINSTALL: /SMS:", From(kProductDir)).WaitForExit(120000),
              static_cast<DWORD>(kExitCompleted));
    EXPECT_EQ(PendingDeletions(), (std::vector<std::wstring>{kProductDir + L"setup.exe", L"C:\\TAPWRITE\\NT"}));
}

// Setup started with "/U:" from a copy of the share holds files of the
// product's names and perhaps DATA and CATALOGS trees of a user's. Without
// the product's program it is refused; with it, nothing says the trees are
// the product's, so they go only when empty.
TEST_F(Uninstall, OutsideTheConfiguredDirectoryKeepsTheUsersTrees)
{
    CopyFolder(FixturePath(L"share-en"), kDownload);
    for (const wchar_t* name : {L"twnetat.dll", L"readme.txt", L"DATA\\catalog.dat", L"CATALOGS\\tape.cat"})
        CreateEmptyFile(kDownload + name);
    const std::set<std::wstring> before = FilesIn(kDownload);
    EXPECT_EQ(SetupProcess(L"/U: /UNINSTALL: /SMS:", From(kDownload)).WaitForExit(),
              static_cast<DWORD>(kExitNotCompleted));
    EXPECT_EQ(FilesIn(kDownload), before);
    EXPECT_TRUE(Exists(kDownload + L"DATA\\catalog.dat") && Exists(kDownload + L"CATALOGS\\tape.cat"));
    EXPECT_TRUE(PendingDeletions().empty());

    CreateEmptyFile(kDownload + L"TWWINNT.EXE");
    DeleteFileW((kDownload + L"CATALOGS\\tape.cat").c_str());
    EXPECT_EQ(SetupProcess(L"/U: /UNINSTALL: /SMS:", From(kDownload)).WaitForExit(60000),
              static_cast<DWORD>(kExitCompleted));
    EXPECT_FALSE(Exists(kDownload + L"TWWINNT.EXE") || Exists(kDownload + L"twnetat.dll"));
    EXPECT_TRUE(Exists(kDownload + L"DATA\\catalog.dat"));
    EXPECT_FALSE(Exists(kDownload + L"CATALOGS"));
}

// Links in the trees may lead to the user's own folders and files: neither
// they nor anything through them goes, DATA itself a link or one deeper.
TEST_F(Uninstall, LeavesLinksInTheTreesAndWhatTheyLeadTo)
{
    RegistryOverride dataPath(HKEY_LOCAL_MACHINE, L"Software\\Velmar\\Tapewright\\User Interface", L"Data Path");
    ASSERT_TRUE(dataPath.Set(kDownload + L"DATA"));
    const std::vector<std::wstring> kept = {L"data\\keep.txt", L"data\\sub\\keep.txt", L"deep\\keep.txt",
                                            L"single.txt"};
    for (const std::wstring& name : kept)
        CreateEmptyFile(kUser + name);
    CreateDirectoryW((kUser + L"empty").c_str(), nullptr);
    CreateEmptyFile(kDownload + L"CATALOGS\\sub\\TAPE1.CAT");
    ASSERT_TRUE(CopyFileW(SETUP_EXE_PATH, (kDownload + L"setup.exe").c_str(), FALSE));
    {
        UnixLink links[] = {{kDownload + L"DATA", kUser + L"data"},
                            {kDownload + L"CATALOGS\\sub\\deep", kUser + L"deep"},
                            {kDownload + L"CATALOGS\\sub\\empty", kUser + L"empty"},
                            {kDownload + L"CATALOGS\\single.txt", kUser + L"single.txt"}};
        for (const UnixLink& link : links)
            ASSERT_TRUE(link);
        EXPECT_EQ(SetupProcess(L"/U: /UNINSTALL: /SMS:", From(kDownload)).WaitForExit(60000),
                  static_cast<DWORD>(kExitCompleted));
        EXPECT_FALSE(Exists(kDownload + L"CATALOGS\\sub\\TAPE1.CAT"));
    }
    for (const std::wstring& name : kept)
        EXPECT_TRUE(Exists(kUser + name)) << name.c_str();
    EXPECT_TRUE(IsDirectory(kUser + L"empty"));
}

}  // namespace
