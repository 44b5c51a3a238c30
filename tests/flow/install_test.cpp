// Whole installs by setup.exe, unattended and driven by hand, checked on the
// system afterwards: the files with their bytes and times, the product's
// registry configuration, and the exit code of every way the install ends,
// which tells a deployment tool whether it completed.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/test_services.h"

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
const std::wstring kOther = L"C:\\TWTEST\\NT\\";
const std::wstring kTapewright = L"Software\\Velmar\\Tapewright";
const DWORD kCompleted = kExitCompleted;
const DWORD kNotCompleted = kExitNotCompleted;

const std::set<std::wstring> kServerFiles = {
    L"setup.exe",    L"readme.txt",   L"twevents.dll", L"twnetat.dll", L"twnetspx.dll", L"twnettcp.dll",
    L"nmsapi.dll",   L"twnetapi.dll", L"twnetutl.dll", L"twi_tape.dll", L"LDRDLL.DLL",  L"twnser.exe",
    L"twnetns.exe",  L"TWRESNT.DLL",  L"twserver.exe", L"jobscope.exe", L"jobscope.hlp", L"TWWINNT.HLP",
    L"TWWINNT.EXE",  L"twdiag.exe",
};
const std::set<std::wstring> kJobScopeFiles = {L"setup.exe",    L"readme.txt",   L"nmsapi.dll",
                                               L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"};

SetupLaunch FromShare(const std::wstring& language = L"en")
{
    return From(FixturePath(L"share-" + language));
}

std::wstring ToTarget(const std::wstring& options)
{
    return options + L" /DEST:C:\\TAPWRITE\\NT";
}

// A directory where a file must go holds the copy at "Error Opening
// Destination File" until it is removed.
const std::wstring kBlocked = kTarget + L"twnetat.dll";
// The first file of disk 2, where the test disks are cut.
const std::wstring kFirstOnDisk2 = L"twevtenu.dl_";

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

// Lets a Backup Server install make the service account fit (under Wine the
// prefix's user is no administrator by the membership list and holds no
// right), answers the readme question (Yes must open the readme in the
// editor), waits for the button to read "OK" and presses it; the program
// must then end as completed.
#define FINISH_INTERACTIVE(...) do { SCOPED_TRACE("FINISH_INTERACTIVE"); FinishInteractive(__VA_ARGS__); } while (0)
void FinishInteractive(SetupProcess& setup, int readme = IDNO)
{
    ASSERT_TRUE(setup.Answer(L"Administrative Rights Required", IDYES, 60000));
    ASSERT_TRUE(setup.Answer(L"Rights Granted", IDOK));
    ASSERT_TRUE(setup.Answer(L"Rights Granted", IDOK));
    ASSERT_TRUE(setup.Answer(L"Read Important Information", readme, 60000));
    HWND editor = nullptr;
    if (readme == IDYES) {
        EXPECT_TRUE(WaitUntil([&] {
            editor = FindWindowW(L"Notepad", nullptr);
            return editor && WindowText(editor).find(L"readme") != std::wstring::npos;
        }));
        PostMessageW(editor, WM_CLOSE, 0, 0);
    }
    HWND button = setup.WaitForCancelButton();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup.WaitForExit(), kCompleted);
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
        RemoveProductInstall();
        for (const wchar_t* tree : {L"C:\\TWTEST", L"C:\\TWBLOCK", L"C:\\TWDISKS", L"C:\\TWDAMAGED"})
            RemoveTree(tree);
    }
};

// The ways an install is stopped, each of which a deployment tool must see.
class Outcome : public Install {};

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
        {L"/L:2 /SMS: /EV:", L"es",
         {L"instalar.exe", L"leame.txt", L"nmsapi.dll", L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"},
         {{L"instalar.exe", L"setup.exe"}, {L"leame.txt", L"readme.txt"}}, false},
        {L"/L:3 /SMS: /EV:", L"fr",
         {L"setup.exe", L"lisezmoi.txt", L"nmsapi.dll", L"jobscope.exe", L"jobscope.hlp", L"twdiag.exe"},
         {{L"lisezmoi.txt", L"readme.txt"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.options);
        Clean();
        // Files of an older version go.
        for (const wchar_t* name : {L"LAUNCHNT.EXE", L"LDRSETUP.EXE"})
            CreateEmptyFile(kTarget + name);
        SetupProcess setup(ToTarget(c.options), FromShare(c.share));
        EXPECT_EQ(setup.WaitForExit(60000), kCompleted);
        EXPECT_INSTALLED(kTarget, c.files, c.productNames);

        RegistryValue font = ReadRegistryValue(kTapewright + L"\\Display", L"Font Face");
        EXPECT_EQ(font.present, c.configured);
        if (c.configured) {
            EXPECT_EQ(font.type, DWORD{REG_SZ});
            EXPECT_EQ(ReadRegistryValue(kTapewright + L"\\Catalogs", L"Catalog Path Remote").Text(),
                      L"\\\\" + ComputerName() + L"\\C$\\TAPWRITE\\NT\\CATALOGS\\");
        }
    }
}

// Declining to replace a prior install asks for the destination again.
TEST_F(Install, InteractiveInstallAsksForTheDestinationAndEndsOnOk)
{
    CreateEmptyFile(kOther + L"twwinnt.exe");
    SetupProcess setup(L"/L:1", FromShare());
    HWND type = setup.WaitForDialog(L"Tapewright Install");
    ASSERT_NE(type, nullptr);
    PressButton(type, IDC_TYPE_BACKUP);
    for (int answer : {IDNO, IDYES}) {
        HWND dialog = setup.WaitForDialog(L"Specify Directory");
        ASSERT_NE(dialog, nullptr);
        if (answer == IDNO) {
            EXPECT_EQ(ItemText(dialog, IDC_DEST_EDIT), L"C:\\TAPWRITE\\NT");
            EXPECT_EQ(ItemText(dialog, IDC_DEST_TEXT), BankString(1000 + IDS_DEST_TEXT));
            EXPECT_EQ(ItemText(dialog, IDC_DEST_COMMON), BankString(1000 + IDS_DEST_COMMON));
            SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"C:\\TWTEST\\NT\\");
        } else {
            EXPECT_EQ(ItemText(dialog, IDC_DEST_EDIT), L"C:\\TWTEST\\NT");
        }
        PressButton(dialog, IDOK);
        ASSERT_TRUE(setup.Answer(L"Directory In Use", answer));
        ASSERT_TRUE(answer == IDYES || WaitUntil([&] { return !IsWindow(dialog); }));
    }
    FINISH_INTERACTIVE(setup, IDYES);
    EXPECT_INSTALLED(kOther, kServerFiles);
}

TEST_F(Install, DestinationDialogStaysOnARefusalAndCancelIsAsked)
{
    SetupProcess setup(L"/L:1 /TS:", FromShare());
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"C:\\TWTEST\\MY DIR");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(setup.Answer(L"Invalid Destination Path", IDOK));
    EXPECT_TRUE(IsWindow(dialog));

    SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(dialog, IDOK)); }));

    // Cancel asks first: No keeps the dialog, Yes ends the run.
    for (int answer : {IDNO, IDYES}) {
        PressButton(dialog, IDCANCEL);
        ASSERT_TRUE(setup.Answer(L"Cancel Installation", answer));
    }
    EXPECT_EQ(setup.WaitForExit(), kNotCompleted);
}

TEST_F(Install, NumberedDisksArePromptedForInTurnOrATypedPathServes)
{
    const std::wstring disks = FixturePath(L"disks-en");
    ASSERT_TRUE(InsertDisk(disks + L"disk1\\"));
    SetupProcess setup(ToTarget(L"/L:1 /TS:"), From(L"A:\\"));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ItemText(prompt, IDC_DISK_WHERE),
              L"Please insert disk 2 in drive A:, or indicate the path where the files can be found:");
    EXPECT_EQ(ItemText(prompt, IDC_DISK_MISSING),
              L"The file " + kFirstOnDisk2 + L" was not found on disk.");
    EXPECT_EQ(ItemText(prompt, IDC_DISK_PATH), L"A:\\");

    // The wrong disk is asked for again; then disk 3 follows disk 2.
    for (auto [insert, next] : {std::pair{L"disk3\\", L"disk 2"}, {L"disk2\\", L"disk 3"}}) {
        ASSERT_TRUE(InsertDisk(disks + insert));
        PressButton(prompt, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
        prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
        ASSERT_NE(prompt, nullptr) << insert;
        EXPECT_NE(ItemText(prompt, IDC_DISK_WHERE).find(next), std::wstring::npos) << insert;
    }
    // A path typed instead serves every later file: the next thing asked is
    // the readme.
    std::wstring share = FixturePath(L"share-en");
    share.pop_back();  // typed without the backslash
    SetDlgItemTextW(prompt, IDC_DISK_PATH, share.c_str());
    PressButton(prompt, IDOK);
    FINISH_INTERACTIVE(setup);
    EXPECT_INSTALLED(kTarget, kServerFiles);
}

TEST_F(Install, FileMissingFromTheNextDiskIsReportedAfterOnePrompt)
{
    const std::wstring copy = L"C:\\TWDISKS\\";
    CopyFolder(FixturePath(L"disks-en\\disk2"), copy);
    ASSERT_TRUE(DeleteFileW((copy + kFirstOnDisk2).c_str()));

    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(ToTarget(L"/L:1 /TS:"), From(L"A:\\"));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(InsertDisk(copy));
    PressButton(prompt, IDOK);

    HWND error = setup.WaitForDialog(L"Error Opening Source File", 60000);
    ASSERT_NE(error, nullptr);
    EXPECT_NE(MessageBoxText(error).find(L"\"A:\\" + kFirstOnDisk2 + L"\""), std::wstring::npos);
    EXPECT_EQ(setup.WaitForDialog(L"Load Install Disk", 0), nullptr);
    PressButton(error, IDOK);
    EXPECT_EQ(setup.WaitForExit(), kNotCompleted);
}

TEST_F(Outcome, DestinationOptionThatCannotBeHonouredEndsBeforeAnyCopy)
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, ARRAYSIZE(windows));
    // C:\TWTEST\NT cannot be used: a file has the name of its DATA folder.
    for (const wchar_t* destination : {L"/DEST:", L"/DEST:C:\\TWTEST\\NT"}) {
        SCOPED_TRACE(destination);
        Clean();
        CreateEmptyFile(kOther + L"DATA");
        SetupProcess setup(std::wstring(L"/SMS: /TS: ") + destination, FromShare());
        EXPECT_EQ(setup.WaitForExit(60000), kNotCompleted);
        EXPECT_FALSE(Exists(L"C:\\TAPWRITE"));
        EXPECT_EQ(FilesIn(kOther), std::set<std::wstring>{L"DATA"});
        EXPECT_FALSE(Exists(std::wstring(windows) + L"\\twdiag.exe"));
    }
}

TEST_F(Outcome, FileHeldOpenOrADiskPromptEndsAnUnattendedInstall)
{
    CreateEmptyFile(kTarget + L"twnser.exe");
    {
        HeldFile running = HoldFile(kTarget + L"twnser.exe", FILE_SHARE_READ | FILE_SHARE_WRITE);
        SetupProcess setup(ToTarget(L"/SMS: /TS:"), FromShare());
        EXPECT_EQ(setup.WaitForExit(60000), kNotCompleted);
        EXPECT_EQ(FilesIn(kTarget), std::set<std::wstring>{L"twnser.exe"});
    }
    // Unattended, a disk prompt counts as a cancel.
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk1")));
    SetupProcess setup(ToTarget(L"/SMS: /TS:"), From(L"A:\\"));
    EXPECT_EQ(setup.WaitForExit(60000), kNotCompleted);
}

// The Cancel button, closing the window and the end of the session during
// the copy all ask first; only No lets the install complete.
TEST_F(Outcome, CancelDuringTheCopyIsAskedAndOnlyNoGoesOn)
{
    struct Case {
        const char* what;
        UINT message;
        int answer;
    } cases[] = {
        {"Cancel, No", BM_CLICK, IDNO},
        {"Cancel, Yes", BM_CLICK, IDYES},
        {"close", WM_CLOSE, IDYES},
        {"session end", WM_QUERYENDSESSION, IDYES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clean();
        std::filesystem::create_directories(kBlocked);
        SetupProcess setup(ToTarget(L"/L:1 /TS:"), FromShare());
        HWND box = setup.WaitForDialog(L"Error Opening Destination File", 60000);
        ASSERT_NE(box, nullptr);
        HWND frame = setup.WaitForFrame();
        PostMessageW(c.message == BM_CLICK ? setup.WaitForCancelButton() : frame, c.message, 0, 0);
        if (c.message != BM_CLICK) {
            ASSERT_TRUE(setup.Answer(L"Cancel Installation", c.answer));
        }
        // The system goes on to end the session; the copy, freed, goes on
        // until it sees the cancel.
        if (c.message == WM_QUERYENDSESSION)
            PostMessageW(frame, WM_ENDSESSION, TRUE, 0);
        Sleep(300);
        if (c.message != WM_CLOSE) {
            RemoveDirectoryW(kBlocked.c_str());
            PressButton(box, IDRETRY);
        }
        if (c.message == BM_CLICK) {
            ASSERT_TRUE(setup.Answer(L"Cancel Installation", c.answer));
        }
        if (c.answer == IDNO) {
            FINISH_INTERACTIVE(setup);
            EXPECT_INSTALLED(kTarget, kServerFiles);
        } else {
            EXPECT_EQ(setup.WaitForExit(), kNotCompleted);
            EXPECT_FALSE(FilesIn(kTarget).count(L"TWWINNT.EXE"));
        }
    }
}

TEST_F(Outcome, ClosingTheWindowUnderADialogEndsTheRunThere)
{
    struct Case {
        const wchar_t* arguments;
        const wchar_t* dialog;
        const wchar_t* next;  // the dialog that must never follow
    } cases[] = {
        {L"", L"Tapewright", L"Tapewright Install"},
        {L"/L:1", L"Tapewright Install", L"Specify Directory"},
        {L"/L:1 /TS:", L"Specify Directory", L"Directory In Use"},
    };
    RegionalLanguage english(L"ENU");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        SetupProcess setup(c.arguments, FromShare());
        ASSERT_NE(setup.WaitForDialog(c.dialog), nullptr);
        PostMessageW(setup.WaitForFrame(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(setup.Answer(L"Cancel Installation", IDYES));
        bool nextShown = false;
        WaitUntil([&] {
            nextShown = nextShown || setup.WaitForDialog(c.next, 0) != nullptr;
            return setup.WaitForExit(0) != STILL_ACTIVE;
        });
        EXPECT_EQ(setup.WaitForExit(), kNotCompleted);
        EXPECT_FALSE(nextShown);
    }
}

TEST_F(Outcome, KeepingThePriorInstallThatTheDestinationOptionNamesEndsTheInstall)
{
    CreateEmptyFile(kOther + L"TWWINNT.EXE");
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TWTEST\\NT", FromShare());
    ASSERT_TRUE(setup.Answer(L"Directory In Use", IDNO));
    EXPECT_EQ(setup.WaitForExit(), kNotCompleted);
    EXPECT_EQ(FilesIn(kOther), std::set<std::wstring>{L"TWWINNT.EXE"});
}

// From a share on which one compressed file is damaged, the install fails
// and the files installed before it stay whole. JobScope Only installs
// setup.exe and the readme, then dlg3d32.dll into the system directory,
// then nmsapi.dll.
TEST_F(Outcome, DamagedSourceFailsTheInstallAndKeepsTheFilesBefore)
{
    const std::wstring good = FixturePath(L"share-en");
    const std::wstring share = L"C:\\TWDAMAGED\\";
    const std::wstring library = SystemDirectory() + L"dlg3d32.dll";
    for (const wchar_t* damaged : {L"dlg3d32.dl_", L"nmsapi.dl_"}) {
        for (const SourceDamage& damage : kEverySourceDamage) {
            SCOPED_TRACE(testing::Message() << damaged << ", " << damage.name);
            Clean();
            CopyFolder(good, share);
            ASSERT_TRUE(WriteDamagedCopy(good + damaged, share + damaged, damage));
            SetupProcess setup(ToTarget(L"/SMS: /EV:"), From(share));
            EXPECT_EQ(setup.WaitForExit(60000), kNotCompleted);
            for (const wchar_t* name : {L"setup.exe", L"readme.txt"})
                EXPECT_TRUE(SameBytes(kTarget + name, ProductFile(name))) << name;
            EXPECT_EQ(SameBytes(library, FixturePath(L"dlg3d32-v1.dll")), damaged == std::wstring(L"nmsapi.dl_"));
            EXPECT_FALSE(FilesIn(kTarget).count(L"jobscope.exe"));
        }
    }
}

}  // namespace
