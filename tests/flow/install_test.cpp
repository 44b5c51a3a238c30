// Whole installs by setup.exe, unattended and driven by hand, checked on the
// system afterwards: the files with their bytes and times, the product's
// registry configuration, and every way the install can be stopped.
#include <gtest/gtest.h>

#include <map>

#include "files/file_table.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
const std::wstring kOther = L"C:\\TWTEST\\NT\\";
const std::wstring kVelmar = L"Software\\Velmar\\Tapewright";

const std::set<std::wstring> kServerFiles = {
    L"setup.exe",    L"readme.txt",   L"twevents.dll", L"twnetat.dll", L"twnetspx.dll", L"twnettcp.dll",
    L"nmsapi.dll",   L"twnetapi.dll", L"twnetutl.dll", L"twi_tape.dll", L"LDRDLL.DLL",  L"twnser.exe",
    L"twnetns.exe",  L"TWRESNT.DLL",  L"twserver.exe", L"jobscope.exe", L"jobscope.hlp", L"TWWINNT.HLP",
    L"TWWINNT.EXE",  L"twdiag.exe",
};
const std::set<std::wstring> kJobScopeFiles = {L"setup.exe",    L"readme.txt",   L"nmsapi.dll",
                                               L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"};

SetupLaunch From(const std::wstring& folder)
{
    SetupLaunch launch;
    launch.program = folder + L"setup.exe";
    return launch;
}

SetupLaunch FromShare(const wchar_t* language = L"en")
{
    return From(FixturePath(std::wstring(L"share-") + language));
}

std::wstring RegistryString(const std::wstring& key, const wchar_t* value, DWORD* type = nullptr)
{
    wchar_t data[600] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD kind = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_ANY, &kind, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    if (type)
        *type = kind;
    return data;
}

bool KeyExists(const std::wstring& key)
{
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &size);
    return name;
}

// The installed files are exactly `expected`, each the product's own bytes
// with the product's last-write time. `productNames` maps installed names
// that differ from the English ones.
void ExpectInstalled(const std::wstring& dir, const std::set<std::wstring>& expected,
                     const std::map<std::wstring, std::wstring>& productNames = {})
{
    EXPECT_EQ(FilesIn(dir), expected);
    for (const std::wstring& name : expected) {
        auto renamed = productNames.find(name);
        std::wstring product = ProductFile(renamed == productNames.end() ? name : renamed->second);
        EXPECT_TRUE(SameBytes(dir + name, product)) << name.c_str();
        EXPECT_EQ(LastWriteTime(dir + name), LastWriteTime(product)) << name.c_str();
    }
    EXPECT_TRUE(GetFileAttributesW((dir + L"DATA").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(GetFileAttributesW((dir + L"CATALOGS").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(SameBytes(SystemDirectory() + L"dlg3d32.dll", FixturePath(L"dlg3d32-v1.dll")));
}

// The disk name of the first file of the table that lies on `disk`.
std::wstring FirstFileOn(const std::wstring& disk)
{
    std::set<std::wstring> present = FilesIn(disk);
    for (int i = 0; i < kFileCount; ++i) {
        std::wstring name = BankString(1000 + kFileTable[i].compressedNameId);
        if (present.count(name))
            return name;
    }
    return L"";
}

class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        Clean();
    }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        RemoveTree(L"C:\\TAPWRITE");
        RemoveTree(L"C:\\TWTEST");
        RemoveTree(L"C:\\TWBLOCK");
        RemoveTree(L"C:\\TWDISKS");
        RemoveProductRegistry();
        DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
    }

    // Answers the readme question No, waits for the button to read "OK" and
    // presses it; the program must then end with code 0.
    static void FinishInteractive(SetupProcess& setup)
    {
        HWND readme = setup.WaitForDialog(L"Read Important Information", 60000);
        ASSERT_NE(readme, nullptr);
        EXPECT_EQ(MessageBoxText(readme),
                  L"Would you like to view the file that contains important information about Tapewright?");
        PressButton(readme, IDNO);
        HWND button = FindCancelButton(setup.WaitForFrame());
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
        PostMessageW(button, BM_CLICK, 0, 0);
        EXPECT_EQ(setup.WaitForExit(), 0u);
    }
};

TEST_F(Install, UnattendedBackupServerInstallsItsFilesAndConfiguration)
{
    SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    ASSERT_TRUE(setup.Started());
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    ExpectInstalled(kTarget, kServerFiles);

    const std::wstring remote = L"\\\\" + ComputerName() + L"\\C$\\TAPWRITE\\NT\\";
    EXPECT_EQ(RegistryString(kVelmar + L"\\User Interface", L"Data Path"), kTarget + L"DATA\\");
    EXPECT_EQ(RegistryString(kVelmar + L"\\User Interface", L"Data Path Remote"), remote + L"DATA\\");
    EXPECT_EQ(RegistryString(kVelmar + L"\\Catalogs", L"Catalog Path"), kTarget + L"CATALOGS\\");
    EXPECT_EQ(RegistryString(kVelmar + L"\\Catalogs", L"Catalog Path Remote"), remote + L"CATALOGS\\");
    DWORD type = 0;
    EXPECT_EQ(RegistryString(kVelmar + L"\\Display", L"Font Face", &type), L"MS Sans Serif");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Install, RemoteAdminInstallsTheServerFilesAndJobScopeOnlyItsOwn)
{
    {
        SetupProcess setup(L"/SMS: /RA: /DEST:C:\\TAPWRITE\\NT", FromShare());
        EXPECT_EQ(setup.WaitForExit(60000), 0u);
        ExpectInstalled(kTarget, kServerFiles);
        EXPECT_TRUE(KeyExists(kVelmar + L"\\Backup Engine"));
    }
    Clean();
    SetupProcess setup(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT", FromShare());
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    ExpectInstalled(kTarget, kJobScopeFiles);
    EXPECT_FALSE(KeyExists(L"Software\\Velmar"));
}

TEST_F(Install, LanguageNamesTheInstalledFiles)
{
    {
        SetupProcess setup(L"/L:2 /SMS: /EV: /DEST:C:\\TAPWRITE\\NT", FromShare(L"es"));
        EXPECT_EQ(setup.WaitForExit(60000), 0u);
        ExpectInstalled(kTarget,
                        {L"instalar.exe", L"leame.txt", L"nmsapi.dll", L"jobscope.exe", L"jobscope.hlp",
                         L"twdiag.exe"},
                        {{L"instalar.exe", L"setup.exe"}, {L"leame.txt", L"readme.txt"}});
    }
    Clean();
    SetupProcess setup(L"/L:3 /SMS: /EV: /DEST:C:\\TAPWRITE\\NT", FromShare(L"fr"));
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    ExpectInstalled(kTarget,
                    {L"setup.exe", L"lisezmoi.txt", L"nmsapi.dll", L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"},
                    {{L"lisezmoi.txt", L"readme.txt"}});
}

TEST_F(Install, SettingsTheUserChangedAreKeptAndPathsRewritten)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kVelmar + L"\\Display").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Font Face", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Arial"), 12);
    RegCloseKey(key);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, (kVelmar + L"\\User Interface").c_str(), L"Data Path", REG_SZ,
                    L"D:\\OLD\\", 16);

    SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    EXPECT_EQ(RegistryString(kVelmar + L"\\Display", L"Font Face"), L"Arial");
    EXPECT_EQ(RegistryString(kVelmar + L"\\User Interface", L"Data Path"), kTarget + L"DATA\\");
    DWORD fontSize = 0;
    DWORD size = sizeof fontSize;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, (kVelmar + L"\\Display").c_str(), L"Font Size", RRF_RT_REG_DWORD,
                           nullptr, &fontSize, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(fontSize, 8u);
}

TEST_F(Install, InteractiveInstallAsksForTheDestinationAndEndsOnOk)
{
    SetupProcess setup(L"/L:1", FromShare());
    HWND type = setup.WaitForDialog(L"Tapewright Install");
    ASSERT_NE(type, nullptr);
    PressButton(type, 301);
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, 200), L"C:\\TAPWRITE\\NT");
    EXPECT_EQ(ItemText(dialog, 201), L"Specify the target directory for the executable files.");
    EXPECT_EQ(ItemText(dialog, 203), L"Add &Icons to a Common Group");
    SetDlgItemTextW(dialog, 200, L"C:\\TWTEST\\NT");
    PressButton(dialog, IDOK);
    FinishInteractive(setup);
    ExpectInstalled(kOther, kServerFiles);
}

TEST_F(Install, ReadmeOpensInTheEditorWhenWanted)
{
    SetupProcess setup(L"/L:1 /EV: /DEST:C:\\TAPWRITE\\NT", FromShare());
    HWND readme = setup.WaitForDialog(L"Read Important Information", 60000);
    ASSERT_NE(readme, nullptr);
    PressButton(readme, IDYES);
    HWND editor = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        editor = FindWindowW(L"Notepad", nullptr);
        return editor && WindowText(editor).find(L"readme") != std::wstring::npos;
    }));
    if (editor)
        PostMessageW(editor, WM_CLOSE, 0, 0);
    HWND button = FindCancelButton(setup.WaitForFrame());
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
}

TEST_F(Install, DecliningToReplaceAPriorInstallAsksForTheDestinationAgain)
{
    RemoveTree(L"C:\\TWTEST");
    CreateDirectoryW(L"C:\\TWTEST", nullptr);
    CreateDirectoryW(kOther.c_str(), nullptr);
    HANDLE old = CreateFileW((kOther + L"twwinnt.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(old);

    SetupProcess setup(L"/L:1 /TS:", FromShare());
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, 200, L"C:\\TWTEST\\NT\\");
    PressButton(dialog, IDOK);
    HWND question = setup.WaitForDialog(L"Directory In Use");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question), L"There appears to be a prior install of Tapewright for NT in the selected "
                                        L"directory. Are you sure you want to replace that copy of Tapewright?");
    PressButton(question, IDNO);

    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, 200), L"C:\\TWTEST\\NT");
    PressButton(dialog, IDOK);
    question = setup.WaitForDialog(L"Directory In Use");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDYES);
    FinishInteractive(setup);
    ExpectInstalled(kOther, kServerFiles);
}

TEST_F(Install, DestinationDialogRefusesWhatItCannotUse)
{
    HANDLE blocker = CreateFileW(L"C:\\TWBLOCK", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(blocker);
    SetupProcess setup(L"/L:1 /TS:", FromShare());
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);

    struct Case {
        const wchar_t* path;
        const wchar_t* caption;
    } cases[] = {
        {L"C:\\TWTEST\\MY DIR", L"Invalid Destination Path"},
        {L"A:\\TAPW", L"Installation Warning"},
        {L"\\\\SERVER\\SHARE\\TAPW", L"Installation Warning"},
        {L"TAPW", L"Installation Warning"},
        {L"C:\\TWBLOCK\\NT", L"Unable to Create Destination Path"},
    };
    for (const Case& c : cases) {
        SetDlgItemTextW(dialog, 200, c.path);
        PressButton(dialog, IDOK);
        HWND box = setup.WaitForDialog(c.caption);
        ASSERT_NE(box, nullptr) << c.path;
        if (lstrcmpW(c.caption, L"Installation Warning") == 0) {
            EXPECT_EQ(MessageBoxText(box), L"You may only install the product to a directory on a fixed drive "
                                           L"which is local to the target computer.");
        }
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(IsWindow(dialog)) << c.path;
    }
    EXPECT_EQ(GetFileAttributesW(L"C:\\TWTEST"), INVALID_FILE_ATTRIBUTES);

    SetDlgItemTextW(dialog, 200, L"");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(dialog, IDOK)); }));

    PressButton(dialog, IDCANCEL);
    HWND question = setup.WaitForDialog(L"Cancel Installation");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_TRUE(IsWindow(dialog));
    PressButton(dialog, IDCANCEL);
    question = setup.WaitForDialog(L"Cancel Installation");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDYES);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST_F(Install, NumberedDisksArePromptedForInTurn)
{
    const std::wstring disks = FixturePath(L"disks-en");
    ASSERT_TRUE(InsertDisk(disks + L"disk1\\"));
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", From(L"A:\\"));

    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ItemText(prompt, 801),
              L"Please insert disk 2 in drive A:, or indicate the path where the files can be found:");
    EXPECT_EQ(ItemText(prompt, 803), L"The file " + FirstFileOn(disks + L"disk2\\") + L" was not found on disk.");
    EXPECT_EQ(ItemText(prompt, 802), L"A:\\");

    // The wrong disk is asked for again.
    ASSERT_TRUE(InsertDisk(disks + L"disk3\\"));
    PressButton(prompt, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    prompt = setup.WaitForDialog(L"Load Install Disk");
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(ItemText(prompt, 801).find(L"disk 2"), std::wstring::npos);

    ASSERT_TRUE(InsertDisk(disks + L"disk2\\"));
    PressButton(prompt, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
    prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(ItemText(prompt, 801).find(L"disk 3"), std::wstring::npos);
    ASSERT_TRUE(InsertDisk(disks + L"disk3\\"));
    PressButton(prompt, IDOK);

    FinishInteractive(setup);
    ExpectInstalled(kTarget, kServerFiles);
}

TEST_F(Install, TypedPathServesEveryLaterFile)
{
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", From(L"A:\\"));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    std::wstring share = FixturePath(L"share-en");
    share.pop_back();  // typed without the backslash
    SetDlgItemTextW(prompt, 802, share.c_str());
    PressButton(prompt, IDOK);
    // Every later file comes from there: the next thing asked is the readme.
    FinishInteractive(setup);
    ExpectInstalled(kTarget, kServerFiles);
}

TEST_F(Install, FileMissingFromTheNextDiskIsReportedAfterOnePrompt)
{
    const std::wstring disks = FixturePath(L"disks-en");
    const std::wstring copy = L"C:\\TWDISKS\\";
    CreateDirectoryW(copy.c_str(), nullptr);
    CopyFolder(disks + L"disk2\\", copy);
    std::wstring missing = FirstFileOn(copy);
    ASSERT_FALSE(missing.empty());
    DeleteFileW((copy + missing).c_str());

    ASSERT_TRUE(InsertDisk(disks + L"disk1\\"));
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", From(L"A:\\"));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(InsertDisk(copy));
    PressButton(prompt, IDOK);

    HWND error = setup.WaitForDialog(L"Error Opening Source File", 60000);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(MessageBoxText(error), L"The source file:\n\"A:\\" + missing +
                                         L"\"\ncould not be opened.  The file may have been deleted from the source "
                                         L"disk.");
    EXPECT_EQ(setup.FindDialog(L"Load Install Disk"), nullptr);
    PressButton(error, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST_F(Install, UnattendedDiskPromptIsACancel)
{
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(L"A:\\"));
    EXPECT_EQ(setup.WaitForExit(60000), 1u);
}

// Holds the copy at "Error Opening Destination File" (a directory stands
// where a file must go), presses the window's Cancel button meanwhile, and
// lets the copy go on.
void CancelDuringTheCopy(SetupProcess& setup, int answer)
{
    HWND box = setup.WaitForDialog(L"Error Opening Destination File", 60000);
    ASSERT_NE(box, nullptr);
    HWND button = FindCancelButton(setup.WaitForFrame());
    ASSERT_NE(button, nullptr);
    PostMessageW(button, BM_CLICK, 0, 0);
    Sleep(300);
    RemoveDirectoryW((kTarget + L"twnetat.dll").c_str());
    PressButton(box, IDRETRY);
    HWND question = setup.WaitForDialog(L"Cancel Installation");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question),
              L"The installation is not complete.  Are you sure you wish to cancel installation?");
    PressButton(question, answer);
}

TEST_F(Install, CancelDuringTheCopyAnsweredNoGoesOn)
{
    CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
    CreateDirectoryW(kTarget.c_str(), nullptr);
    CreateDirectoryW((kTarget + L"twnetat.dll").c_str(), nullptr);
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    CancelDuringTheCopy(setup, IDNO);
    FinishInteractive(setup);
    ExpectInstalled(kTarget, kServerFiles);
}

TEST_F(Install, CancelDuringTheCopyAnsweredYesEndsWithCode1)
{
    CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
    CreateDirectoryW(kTarget.c_str(), nullptr);
    CreateDirectoryW((kTarget + L"twnetat.dll").c_str(), nullptr);
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    CancelDuringTheCopy(setup, IDYES);
    EXPECT_EQ(setup.WaitForExit(), 1u);
    EXPECT_FALSE(FilesIn(kTarget).count(L"TWWINNT.EXE"));
}

TEST_F(Install, FileHeldOpenIsReportedByName)
{
    CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
    CreateDirectoryW(kTarget.c_str(), nullptr);
    HANDLE file = CreateFileW((kTarget + L"twnser.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    HeldFile running(kTarget + L"twnser.exe", FILE_SHARE_READ | FILE_SHARE_WRITE);
    {
        SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
        HWND box = setup.WaitForDialog(L"Access Denied", 60000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), L"The file 'twnser.exe' appears to be in use.\n\nStop any instances of "
                                       L"Tapewright and click 'Retry', or click 'Cancel' to cancel the installation.");
        PressButton(box, IDCANCEL);
        EXPECT_EQ(setup.WaitForExit(), 1u);
    }
    SetupProcess unattended(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    EXPECT_EQ(unattended.WaitForExit(60000), 1u);
    EXPECT_EQ(FilesIn(kTarget), (std::set<std::wstring>{L"twnser.exe"}));
}

TEST_F(Install, FilesOfAnOlderVersionAreRemoved)
{
    CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
    CreateDirectoryW(kTarget.c_str(), nullptr);
    for (const wchar_t* name : {L"LAUNCHNT.EXE", L"LDRSETUP.EXE", L"notes.txt"}) {
        HANDLE file = CreateFileW((kTarget + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    SetupProcess setup(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT", FromShare());
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    std::set<std::wstring> expected = kJobScopeFiles;
    expected.insert(L"notes.txt");
    EXPECT_EQ(FilesIn(kTarget), expected);
}

}  // namespace
