// Whole installs by setup.exe, unattended and driven by hand, checked on the
// system afterwards: the files with their bytes and times, the product's
// registry configuration, and every way the install can be stopped.
#include <gtest/gtest.h>

#include <map>

#include "files/file_table.h"
#include "res/resource_ids.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
const std::wstring kOther = L"C:\\TWTEST\\NT\\";
const std::wstring kTapewright = L"Software\\Velmar\\Tapewright";
const wchar_t kInstallToTarget[] = L"/DEST:C:\\TAPWRITE\\NT";

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

SetupLaunch FromShare(const std::wstring& language = L"en")
{
    return From(FixturePath(L"share-" + language));
}

std::wstring Arguments(const std::wstring& options)
{
    return options + L" " + kInstallToTarget;
}

void MakeTarget()
{
    CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
    CreateDirectoryW(kTarget.c_str(), nullptr);
}

// The installed files are exactly `expected`, each the product's own bytes
// with the product's last-write time. `productNames` maps installed names
// that differ from the English ones.
#define EXPECT_INSTALLED(...) do { SCOPED_TRACE("EXPECT_INSTALLED"); ExpectInstalled(__VA_ARGS__); } while (0)
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
    for (const wchar_t* sub : {L"DATA", L"CATALOGS"})
        EXPECT_TRUE(IsDirectory(dir + sub)) << sub;
    EXPECT_TRUE(SameBytes(SystemDirectory() + L"dlg3d32.dll", FixturePath(L"dlg3d32-v1.dll")));
}

// Answers the readme question No, waits for the button to read "OK" and
// presses it; the program must then end with code 0.
#define FINISH_INTERACTIVE(setup) do { SCOPED_TRACE("FINISH_INTERACTIVE"); FinishInteractive(setup); } while (0)
void FinishInteractive(SetupProcess& setup)
{
    HWND readme = setup.WaitForDialog(L"Read Important Information", 60000);
    ASSERT_NE(readme, nullptr);
    PressButton(readme, IDNO);
    HWND button = FindCancelButton(setup.WaitForFrame());
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup.WaitForExit(), 0u);
}

// Presses `id` in the dialog and waits until it has gone.
bool Answer(HWND dialog, int id)
{
    PressButton(dialog, id);
    return WaitUntil([&] { return !IsWindow(dialog); });
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
        for (const wchar_t* tree : {L"C:\\TAPWRITE", L"C:\\TWTEST", L"C:\\TWBLOCK", L"C:\\TWDISKS"})
            RemoveTree(tree);
        RemoveProductRegistry();
        DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
    }
};

TEST_F(Install, UnattendedInstallsPutEachTypesFilesInTheLanguagesNames)
{
    struct Case {
        const wchar_t* options;
        const wchar_t* share;
        std::set<std::wstring> files;
        std::map<std::wstring, std::wstring> productNames;
        bool configured;  // the backup application's registry configuration
    } cases[] = {
        {L"/SMS: /TS:", L"en", kServerFiles, {}, true},
        {L"/SMS: /RA:", L"en", kServerFiles, {}, true},
        {L"/SMS: /EV:", L"en", kJobScopeFiles, {}, false},
        {L"/L:2 /SMS: /EV:",
         L"es",
         {L"instalar.exe", L"leame.txt", L"nmsapi.dll", L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"},
         {{L"instalar.exe", L"setup.exe"}, {L"leame.txt", L"readme.txt"}},
         false},
        {L"/L:3 /SMS: /EV:",
         L"fr",
         {L"setup.exe", L"lisezmoi.txt", L"nmsapi.dll", L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"},
         {{L"lisezmoi.txt", L"readme.txt"}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.options);
        Clean();
        SetupProcess setup(Arguments(c.options), FromShare(c.share));
        EXPECT_EQ(setup.WaitForExit(60000), 0u);
        EXPECT_INSTALLED(kTarget, c.files, c.productNames);

        RegistryValue font = ReadRegistryValue(kTapewright + L"\\Display", L"Font Face");
        EXPECT_EQ(font.present, c.configured);
        if (!c.configured)
            continue;
        EXPECT_EQ(font.type, DWORD{REG_SZ});
        EXPECT_EQ(ReadRegistryValue(kTapewright + L"\\Catalogs", L"Catalog Path Remote").Text(),
                  L"\\\\" + ComputerName() + L"\\C$\\TAPWRITE\\NT\\CATALOGS\\");
    }
}

TEST_F(Install, FilesOfAnOlderVersionAreRemoved)
{
    MakeTarget();
    for (const wchar_t* name : {L"LAUNCHNT.EXE", L"LDRSETUP.EXE", L"notes.txt"})
        CreateEmptyFile(kTarget + name);
    SetupProcess setup(Arguments(L"/SMS: /EV:"), FromShare());
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    std::set<std::wstring> expected = kJobScopeFiles;
    expected.insert(L"notes.txt");
    EXPECT_EQ(FilesIn(kTarget), expected);
}

TEST_F(Install, InteractiveInstallAsksForTheDestinationAndEndsOnOk)
{
    SetupProcess setup(L"/L:1", FromShare());
    HWND type = setup.WaitForDialog(L"Tapewright Install");
    ASSERT_NE(type, nullptr);
    PressButton(type, IDC_TYPE_BACKUP);
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_DEST_EDIT), L"C:\\TAPWRITE\\NT");
    EXPECT_EQ(ItemText(dialog, IDC_DEST_TEXT), BankString(1000 + IDS_DEST_TEXT));
    EXPECT_EQ(ItemText(dialog, IDC_DEST_COMMON), BankString(1000 + IDS_DEST_COMMON));
    SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"C:\\TWTEST\\NT");
    PressButton(dialog, IDOK);
    FINISH_INTERACTIVE(setup);
    EXPECT_INSTALLED(kOther, kServerFiles);
}

TEST_F(Install, ReadmeOpensInTheEditorWhenWanted)
{
    SetupProcess setup(Arguments(L"/L:1 /EV:"), FromShare());
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
    CreateDirectoryW(L"C:\\TWTEST", nullptr);
    CreateDirectoryW(kOther.c_str(), nullptr);
    CreateEmptyFile(kOther + L"twwinnt.exe");

    SetupProcess setup(L"/L:1 /TS:", FromShare());
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"C:\\TWTEST\\NT\\");
    PressButton(dialog, IDOK);
    HWND question = setup.WaitForDialog(L"Directory In Use");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDNO);

    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_DEST_EDIT), L"C:\\TWTEST\\NT");
    PressButton(dialog, IDOK);
    question = setup.WaitForDialog(L"Directory In Use");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDYES);
    FINISH_INTERACTIVE(setup);
    EXPECT_INSTALLED(kOther, kServerFiles);
}

TEST_F(Install, DestinationDialogRefusesWhatItCannotUse)
{
    CreateEmptyFile(L"C:\\TWBLOCK");
    SetupProcess setup(L"/L:1 /TS:", FromShare());
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);

    struct Case {
        const wchar_t* path;
        const wchar_t* caption;
    } cases[] = {
        {L"C:\\TWTEST\\MY DIR", L"Invalid Destination Path"},
        {L"\\\\SERVER\\SHARE\\TAPW", L"Installation Warning"},
        {L"C:\\TWBLOCK\\NT", L"Unable to Create Destination Path"},
    };
    for (const Case& c : cases) {
        SetDlgItemTextW(dialog, IDC_DEST_EDIT, c.path);
        PressButton(dialog, IDOK);
        HWND box = setup.WaitForDialog(c.caption);
        ASSERT_NE(box, nullptr) << c.path;
        ASSERT_TRUE(Answer(box, IDOK));
        EXPECT_TRUE(IsWindow(dialog)) << c.path;
    }
    EXPECT_FALSE(Exists(L"C:\\TWTEST"));

    SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(dialog, IDOK)); }));

    // Cancel asks first: No keeps the dialog, Yes ends the run.
    for (int answer : {IDNO, IDYES}) {
        PressButton(dialog, IDCANCEL);
        HWND question = setup.WaitForDialog(L"Cancel Installation");
        ASSERT_NE(question, nullptr);
        ASSERT_TRUE(Answer(question, answer));
    }
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST_F(Install, NumberedDisksArePromptedForInTurn)
{
    const std::wstring disks = FixturePath(L"disks-en");
    ASSERT_TRUE(InsertDisk(disks + L"disk1\\"));
    SetupProcess setup(Arguments(L"/L:1 /TS:"), From(L"A:\\"));

    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ItemText(prompt, IDC_DISK_WHERE),
              L"Please insert disk 2 in drive A:, or indicate the path where the files can be found:");
    EXPECT_EQ(ItemText(prompt, IDC_DISK_MISSING),
              L"The file " + FirstFileOn(disks + L"disk2\\") + L" was not found on disk.");
    EXPECT_EQ(ItemText(prompt, IDC_DISK_PATH), L"A:\\");

    // The wrong disk is asked for again; then disk 3 follows disk 2.
    struct Step {
        const wchar_t* insert;
        const wchar_t* next;
    } steps[] = {{L"disk3\\", L"disk 2"}, {L"disk2\\", L"disk 3"}};
    for (const Step& step : steps) {
        ASSERT_TRUE(InsertDisk(disks + step.insert));
        ASSERT_TRUE(Answer(prompt, IDOK));
        prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
        ASSERT_NE(prompt, nullptr) << step.insert;
        EXPECT_NE(ItemText(prompt, IDC_DISK_WHERE).find(step.next), std::wstring::npos) << step.insert;
    }
    ASSERT_TRUE(InsertDisk(disks + L"disk3\\"));
    PressButton(prompt, IDOK);

    FINISH_INTERACTIVE(setup);
    EXPECT_INSTALLED(kTarget, kServerFiles);
}

TEST_F(Install, TypedPathServesEveryLaterFile)
{
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(Arguments(L"/L:1 /TS:"), From(L"A:\\"));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    std::wstring share = FixturePath(L"share-en");
    share.pop_back();  // typed without the backslash
    SetDlgItemTextW(prompt, IDC_DISK_PATH, share.c_str());
    PressButton(prompt, IDOK);
    // Every later file comes from there: the next thing asked is the readme.
    FINISH_INTERACTIVE(setup);
    EXPECT_INSTALLED(kTarget, kServerFiles);
}

TEST_F(Install, FileMissingFromTheNextDiskIsReportedAfterOnePrompt)
{
    const std::wstring copy = L"C:\\TWDISKS\\";
    CopyFolder(FixturePath(L"disks-en\\disk2"), copy);
    std::wstring missing = FirstFileOn(copy);
    ASSERT_FALSE(missing.empty());
    DeleteFileW((copy + missing).c_str());

    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(Arguments(L"/L:1 /TS:"), From(L"A:\\"));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(InsertDisk(copy));
    PressButton(prompt, IDOK);

    HWND error = setup.WaitForDialog(L"Error Opening Source File", 60000);
    ASSERT_NE(error, nullptr);
    EXPECT_NE(MessageBoxText(error).find(L"\"A:\\" + missing + L"\""), std::wstring::npos);
    EXPECT_EQ(setup.FindDialog(L"Load Install Disk"), nullptr);
    PressButton(error, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST_F(Install, UnattendedDiskPromptIsACancel)
{
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(Arguments(L"/SMS: /TS:"), From(L"A:\\"));
    EXPECT_EQ(setup.WaitForExit(60000), 1u);
}

TEST_F(Install, CancelDuringTheCopyIsAskedYesEndsAndNoGoesOn)
{
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        Clean();
        // A directory where a file must go holds the copy at "Error Opening
        // Destination File" while the window's Cancel button is pressed.
        MakeTarget();
        CreateDirectoryW((kTarget + L"twnetat.dll").c_str(), nullptr);
        SetupProcess setup(Arguments(L"/L:1 /TS:"), FromShare());
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
        PressButton(question, answer);
        if (answer == IDNO) {
            FINISH_INTERACTIVE(setup);
            EXPECT_INSTALLED(kTarget, kServerFiles);
        } else {
            EXPECT_EQ(setup.WaitForExit(), 1u);
            EXPECT_FALSE(FilesIn(kTarget).count(L"TWWINNT.EXE"));
        }
    }
}

TEST_F(Install, FileHeldOpenStopsTheInstallBeforeTheCopy)
{
    MakeTarget();
    CreateEmptyFile(kTarget + L"twnser.exe");
    HeldFile running(kTarget + L"twnser.exe", FILE_SHARE_READ | FILE_SHARE_WRITE);
    SetupProcess setup(Arguments(L"/SMS: /TS:"), FromShare());
    EXPECT_EQ(setup.WaitForExit(60000), 1u);
    EXPECT_EQ(FilesIn(kTarget), (std::set<std::wstring>{L"twnser.exe"}));
}

}  // namespace
