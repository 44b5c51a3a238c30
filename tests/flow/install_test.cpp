// Installs by setup.exe checked on the system afterwards: files with their
// bytes and times, the registry, and the exit code of every way the install
// ends, which tells a deployment tool whether it completed; "/DEST:" checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "flow/destination.h"
#include "registry/product_keys.h"
#include "res/resource_ids.h"
#include "res/version.h"
#include "shell/setup_state.h"
#include "support/event_trace.h"
#include "support/in_process.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/test_services.h"

using namespace support;

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
const std::wstring kOther = L"C:\\TWTEST\\NT\\";
const std::set<std::wstring> kServerFiles = {
    L"setup.exe",   L"readme.txt",   L"twevents.dll", L"twnetat.dll",  L"twnetspx.dll", L"twnettcp.dll", L"nmsapi.dll",
    L"twnetapi.dll", L"twnetutl.dll", L"twi_tape.dll", L"LDRDLL.DLL",  L"twnser.exe",   L"twnetns.exe",  L"TWRESNT.DLL",
    L"twserver.exe", L"jobscope.exe", L"jobscope.hlp", L"TWWINNT.HLP", L"TWWINNT.EXE",  L"twdiag.exe"};

const SetupLaunch kFromShare = From(FixturePath(L"share-en"));

DWORD RunUnattended(const std::wstring& options, const SetupLaunch& launch = kFromShare)
{
    SetupProcess setup(options, launch);
    return setup.WaitForExit(60000);
}

// The installed files are exactly `expected`, with the product's bytes and times.
#define EXPECT_INSTALLED(...) do { SCOPED_TRACE("EXPECT_INSTALLED"); ExpectInstalled(__VA_ARGS__); } while (0)
void ExpectInstalled(const std::wstring& dir, const std::set<std::wstring>& expected)
{
    EXPECT_EQ(FilesIn(dir), expected);
    for (const std::wstring& name : expected) {
        EXPECT_TRUE(SameBytes(dir + name, ProductFile(name))) << name.c_str();
        EXPECT_EQ(LastWriteTime(dir + name), LastWriteTime(ProductFile(name))) << name.c_str();
    }
    EXPECT_TRUE(IsDirectory(dir + L"DATA") && IsDirectory(dir + L"CATALOGS"));
    EXPECT_TRUE(SameBytes(SystemDirectory() + L"dlg3d32.dll", FixturePath(L"dlg3d32-v1.dll")));
}

// Lets a Backup Server install fit the service account (under Wine the user is
// no administrator by the membership list and holds no right), declines the
// readme and presses the button once it reads "OK": the run has completed.
#define FINISH_INTERACTIVE(setup) do { SCOPED_TRACE("FINISH_INTERACTIVE"); FinishInteractive(setup); } while (0)
void FinishInteractive(SetupProcess& setup)
{
    ASSERT_TRUE(setup.Answer(L"Administrative Rights Required", IDYES, 60000));
    ASSERT_TRUE(setup.Answer(L"Rights Granted", IDOK));
    ASSERT_TRUE(setup.Answer(L"Rights Granted", IDOK));
    ASSERT_TRUE(setup.Answer(L"Read Important Information", IDNO, 60000));
    HWND button = setup.WaitForCancelButton();
    EXPECT_TRUE(WaitUntil([&] { return WindowText(button) == L"OK"; }));
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(setup.WaitForExit(), kExitCompleted);
}

class Install : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ResetSetupState();
        RemoveProductInstall();
        RemoveTree(L"C:\\TWTEST");
    }
};

// One run by hand: a destination holding a prior install, the numbered disks
// in turn, a typed path for the rest. Only an older version's files go.
// "/COMMON:" ticks the dialog's common-group box for the user.
TEST_F(Install, InteractiveInstallFromNumberedDisksAsksUntilEachAnswerServes)
{
    for (const wchar_t* name : {L"twwinnt.exe", L"LAUNCHNT.EXE", L"LDRSETUP.EXE", L"notes.txt"})
        CreateEmptyFile(kOther + name);
    SetFileAttributesW((kOther + L"LAUNCHNT.EXE").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const std::wstring disks = FixturePath(L"disks-en");
    ASSERT_TRUE(InsertDisk(disks + L"disk1\\"));
    SetupProcess setup(L"/L:1 /TS: /COMMON:", From(L"A:\\"));
    HWND dialog = setup.WaitForDialog(L"Specify Directory");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_DEST_EDIT), L"C:\\TAPWRITE\\NT");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DEST_COMMON), static_cast<UINT>(BST_CHECKED));
    SetDlgItemTextW(dialog, IDC_DEST_EDIT, L"C:\\TWTEST\\NT\\");
    PressButton(dialog, IDOK);
    ASSERT_TRUE(setup.Answer(L"Directory In Use", IDYES));
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    ASSERT_NE(prompt, nullptr);
    // The wrong disk is asked for again; then disk 3 follows disk 2.
    for (auto [insert, next] : {std::pair{L"disk3\\", L"disk 2"}, {L"disk2\\", L"disk 3"}}) {
        ASSERT_TRUE(InsertDisk(disks + insert));
        PressButton(prompt, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt); }));
        prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
        ASSERT_NE(prompt, nullptr) << insert;
        EXPECT_NE(ItemText(prompt, IDC_DISK_WHERE).find(next), std::wstring::npos) << insert;
    }
    std::wstring share = FixturePath(L"share-en");
    share.pop_back();  // typed without the backslash
    SetDlgItemTextW(prompt, IDC_DISK_PATH, share.c_str());
    PressButton(prompt, IDOK);
    FINISH_INTERACTIVE(setup);
    EXPECT_TRUE(DeleteFileW((kOther + L"notes.txt").c_str())) << "not the product's: kept";
    EXPECT_INSTALLED(kOther, kServerFiles);
    EXPECT_EQ(ReadRegistryValue(L"Software\\Velmar\\Tapewright\\Catalogs", L"Catalog Path Remote").Text(),
              L"\\\\" + ComputerName() + L"\\C$\\TWTEST\\NT\\CATALOGS\\");
}

// What deployment tools read of an install: its entry in the list of
// installed programs, with setup's own version, the product's size and the
// commands that remove it in the install's language, and setup's event
// source. A reinstall rewrites the entry and keeps what else its key holds;
// the uninstall, run by the entry's own command, removes both.
TEST_F(Install, ListsTheProductForDeploymentToolsUntilItsUninstall)
{
    const std::wstring version = L"6.0." + std::to_wstring(SETUP_VERSION_BUILD);
    SYSTEMTIME today;
    GetLocalTime(&today);
    wchar_t date[16];
    wsprintfW(date, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const struct {
        const wchar_t* options;
        const wchar_t* share;
        const wchar_t* program;
        const wchar_t* language;
    } installs[] = {
        {L"/SMS: /EV: /L:2 /DEST:C:\\TAPWRITE\\NT", L"share-es", L"instalar.exe", L"/L:2"},
        {L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", L"share-en", L"setup.exe", L"/L:1"},
    };
    DWORD jobScopeKilobytes = 0;
    RegistryOverride comment(HKEY_LOCAL_MACHINE, kUninstallKey, L"Comments");
    for (const auto& install : installs) {
        SCOPED_TRACE(install.options);
        ASSERT_EQ(RunUnattended(install.options, From(FixturePath(install.share))), kExitCompleted);
        KeyValues entry = ReadRegistryKey(kUninstallKey);
        ASSERT_TRUE(entry.exists);
        const std::wstring program = kTarget + install.program;
        const std::pair<const wchar_t*, std::wstring> texts[] = {
            {L"DisplayName", L"Tapewright 6.0"}, {L"DisplayVersion", version}, {L"Publisher", L"Velmar"},
            {L"InstallLocation", L"C:\\TAPWRITE\\NT"}, {L"DisplayIcon", program}, {L"InstallDate", date},
            {L"UninstallString", program + L" /U: /UNINSTALL: " + install.language},
            {L"QuietUninstallString", program + L" /U: /UNINSTALL: " + install.language + L" /SMS:"},
        };
        for (const auto& [name, text] : texts) {
            EXPECT_EQ(entry.values[name].type, static_cast<DWORD>(REG_SZ)) << name;
            EXPECT_EQ(entry.values[name].Text(), text) << name;
        }
        EXPECT_EQ(entry.values[L"NoModify"].Number(), 1u);
        EXPECT_EQ(entry.values[L"NoRepair"].Number(), 1u);
        EXPECT_EQ(ReadRegistryValue(kSetupEventSourceKey, L"EventMessageFile").Text(), program);
        EXPECT_EQ(ReadRegistryValue(kSetupEventSourceKey, L"EventMessageFile").type, static_cast<DWORD>(REG_EXPAND_SZ));
        EXPECT_EQ(ReadRegistryValue(kSetupEventSourceKey, L"TypesSupported").Number(), 7u);
        const DWORD kilobytes = entry.values[L"EstimatedSize"].Number();
        if (!jobScopeKilobytes) {
            EXPECT_GT(kilobytes, 0u);
            jobScopeKilobytes = kilobytes;
            comment.Set(L"kept by the site");
            continue;
        }
        size_t bytes = FileBytes(SystemDirectory() + L"dlg3d32.dll").size();
        for (const std::wstring& name : kServerFiles)
            bytes += FileBytes(kTarget + name).size();
        EXPECT_EQ(kilobytes, (bytes + 1023) / 1024);
        EXPECT_GT(kilobytes, jobScopeKilobytes) << "JobScope Only installs fewer files";
        EXPECT_EQ(entry.values[L"Comments"].Text(), L"kept by the site");
    }
    const std::wstring quiet = ReadRegistryValue(kUninstallKey, L"QuietUninstallString").Text();
    SetupLaunch uninstall;
    uninstall.program = quiet.substr(0, quiet.find(L' '));
    uninstall.namesServiceAccount = false;
    EXPECT_EQ(SetupProcess(quiet.substr(quiet.find(L' ') + 1), uninstall).WaitForExit(120000),
              static_cast<DWORD>(kExitCompleted));
    EXPECT_FALSE(ReadRegistryKey(kUninstallKey).exists);
    EXPECT_FALSE(ReadRegistryKey(kSetupEventSourceKey).exists);
}

// A run that nobody watches leaves in the event log what it would have shown:
// its start (never the password), the error that a damaged file on the share
// raised, and its end with the code; a completed one the readme question
// answered No. Read from Wine's trace of the shipping program. The failed
// install leaves no entry in the list of installed programs. The share has
// no checksum list, as media from an older builder or another tool: they
// install unchecked, as they always did.
TEST_F(Install, UnattendedRunsTellTheEventLogWhatNobodySaw)
{
    const std::wstring share = L"C:\\TWSHARE\\", arguments = L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT /PASSWORD:Sekr3t";
    CopyFolder(FixturePath(L"share-en"), share);
    ASSERT_TRUE(DeleteFileW((share + L"checksum.lst").c_str()));
    const TracedEvent started = {EVENTLOG_INFORMATION_TYPE,
                                 L"Tapewright Setup started an installation.\n\nInstall type: JobScope Only\n"
                                 L"Destination: C:\\TAPWRITE\\NT\nLanguage: EN (/L:1)\nUnattended: Yes"};
    const std::pair<std::string, std::vector<TracedEvent>> runs[] = {
        {"no longer compressed",
         {started,
          {EVENTLOG_ERROR_TYPE, L"Error Reading File\n\nThe source file:\n\"C:\\TWSHARE\\jscopenu.ex_\"\ncould not "
                                L"be read.  Please make sure that the source disk is still available, then reinstall "
                                L"this application.\n\nAnswered without asking: OK"},
          {EVENTLOG_ERROR_TYPE, L"Tapewright Setup ended: not completed.\n\nExit code: 1"}}},
        {FileBytes(FixturePath(L"share-en\\jscopenu.ex_")),
         {started,
          {EVENTLOG_INFORMATION_TYPE, L"Read Important Information\n\nWould you like to view the file that contains "
                                      L"important information about Tapewright?\n\nAnswered without asking: No"},
          {EVENTLOG_INFORMATION_TYPE, L"Tapewright Setup ended: completed.\n\nExit code: 0"}}},
    };
    for (const auto& [jobScope, events] : runs) {
        WriteBytes(share + L"jscopenu.ex_", jobScope);
        EXPECT_EQ(RunTracingEvents(share + L"setup.exe", arguments), events);
        EXPECT_EQ(ReadRegistryKey(kUninstallKey).exists, events.back().type == EVENTLOG_INFORMATION_TYPE);
    }
    for (const wchar_t* name : {L"setup.exe", L"readme.txt", L"jobscope.exe", L"twdiag.exe"})
        EXPECT_TRUE(SameBytes(kTarget + name, ProductFile(name))) << name;
    EXPECT_TRUE(SameBytes(SystemDirectory() + L"dlg3d32.dll", FixturePath(L"dlg3d32-v1.dll")));
    RemoveTree(share);
}

// A destination the dialog would refuse (a whole argument quoted, as
// deployment tools write it, names its directory up to the closing quote),
// or a product file held open by a running program, ends an unattended
// install before anything is copied.
TEST_F(Install, UnattendedInstallThatCannotGoOnEndsWithCode1)
{
    CreateEmptyFile(kTarget + L"twnser.exe");
    HeldFile running = HoldFile(kTarget + L"twnser.exe", FILE_SHARE_READ | FILE_SHARE_WRITE);
    for (const wchar_t* destination : {L"/DEST:", L"/DEST:C:\\TAPWRITE\\NT", L"\"/DEST:C:\\TWTEST ONE\""})
        EXPECT_EQ(RunUnattended(std::wstring(L"/SMS: /TS: ") + destination), kExitNotCompleted) << destination;
    EXPECT_EQ(FilesIn(kTarget), std::set<std::wstring>{L"twnser.exe"});
    EXPECT_FALSE(Exists(L"C:\\TWTEST"));
}

// The Cancel button, closing the window and the end of the session during the
// copy (held while a directory stands where a file must go) all ask first;
// a cancel confirmed takes away what the copy had made, files, directories
// and configuration.
TEST_F(Install, CancelDuringTheCopyIsAskedAndOnlyNoGoesOn)
{
    const std::wstring blocked = kTarget + L"twnetat.dll";
    const std::pair<UINT, int> cases[] = {
        {BM_CLICK, IDNO}, {BM_CLICK, IDYES}, {WM_CLOSE, IDYES}, {WM_QUERYENDSESSION, IDYES}};
    for (auto [message, answer] : cases) {
        SCOPED_TRACE(testing::Message() << "message " << message << ", answer " << answer);
        Clean();
        std::filesystem::create_directories(blocked);
        SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", kFromShare);
        HWND box = setup.WaitForDialog(L"Error Opening Destination File", 60000);
        ASSERT_NE(box, nullptr);
        HWND frame = setup.WaitForFrame();
        PostMessageW(message == BM_CLICK ? setup.WaitForCancelButton() : frame, message, 0, 0);
        if (message != BM_CLICK) {
            ASSERT_TRUE(setup.Answer(L"Cancel Installation", answer));
        }
        // The system goes on to end the session, and may end the process
        // once the frame has answered: the install is undone by then, and
        // the run ends there.
        if (message == WM_QUERYENDSESSION) {
            PostMessageW(frame, WM_ENDSESSION, TRUE, 0);
            EXPECT_EQ(setup.WaitForExit(), kExitNotCompleted);
        }
        Sleep(300);
        if (message != WM_CLOSE) {
            RemoveDirectoryW(blocked.c_str());
            PressButton(box, IDRETRY);
        }
        if (message == BM_CLICK) {
            ASSERT_TRUE(setup.Answer(L"Cancel Installation", answer));
        }
        if (answer == IDNO) {
            FINISH_INTERACTIVE(setup);
            EXPECT_INSTALLED(kTarget, kServerFiles);
        } else {
            EXPECT_EQ(setup.WaitForExit(), kExitNotCompleted);
            EXPECT_EQ(FilesIn(kTarget), std::set<std::wstring>{});
            EXPECT_FALSE(Exists(kTarget + L"DATA"));
            EXPECT_FALSE(ReadRegistryKey(L"Software\\Velmar").exists);
        }
    }
}

// Closing the window, or a dialog's own Cancel, under each dialog ends the
// run there; so does keeping the prior install that "/DEST:" names.
TEST_F(Install, CancelUnderADialogEndsTheRunThere)
{
    CreateEmptyFile(kOther + L"TWWINNT.EXE");
    const struct {
        const wchar_t* arguments;
        const wchar_t* dialog;
        const wchar_t* next;  // the dialog that must never follow
        int press;            // in the dialog; 0: the frame is closed
    } cases[] = {
        {L"", L"Tapewright", L"Tapewright Install", 0},
        {L"/L:1", L"Tapewright Install", L"Specify Directory", 0},
        {L"/L:1 /TS:", L"Specify Directory", L"Directory In Use", 0},
        {L"/L:1 /TS:", L"Specify Directory", L"Directory In Use", IDCANCEL},
        {L"/L:1 /TS: /DEST:C:\\TWTEST\\NT", L"Directory In Use", L"Specify Directory", IDNO},
    };
    RegionalLanguage english(L"ENU");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        SetupProcess setup(c.arguments, kFromShare);
        HWND dialog = setup.WaitForDialog(c.dialog);
        ASSERT_NE(dialog, nullptr);
        if (c.press)
            PressButton(dialog, c.press);
        else
            PostMessageW(setup.WaitForFrame(), WM_CLOSE, 0, 0);
        if (c.press != IDNO) {
            ASSERT_TRUE(setup.Answer(L"Cancel Installation", IDYES));
        }
        bool nextShown = false;
        WaitUntil([&] {
            nextShown = nextShown || setup.WaitForDialog(c.next, 0) != nullptr;
            return setup.WaitForExit(0) != STILL_ACTIVE;
        });
        EXPECT_EQ(setup.WaitForExit(), kExitNotCompleted);
        EXPECT_FALSE(nextShown);
    }
    EXPECT_EQ(FilesIn(kOther), std::set<std::wstring>{L"TWWINNT.EXE"});
}

// The server types install services, so only an administrator may choose
// them; a standard user is offered JobScope Only.
TEST(InstallType, OnlyAnAdministratorMayChooseTheServerTypes)
{
    for (bool administrator : {true, false}) {
        SCOPED_TRACE(administrator ? "administrator" : "standard user");
        SetupLaunch launch;
        launch.withoutAdministrator = !administrator;
        SetupProcess setup(L"/L:1", launch);
        HWND dialog = setup.WaitForDialog(L"Tapewright Install");
        ASSERT_NE(dialog, nullptr);
        for (int id : {IDC_TYPE_BACKUP, IDC_TYPE_REMOTE})
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE, administrator) << id;
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_TYPE_JOBSCOPE)));
        EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), administrator ? IDC_TYPE_BACKUP : IDC_TYPE_JOBSCOPE);
        PressButton(dialog, IDCANCEL);
        EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
    }
}

// "/DEST:" is the answer to the "Specify Directory" dialog, so it passes the
// dialog's checks: a directory the dialog would refuse is told and refused,
// never replaced by another, and nothing is made.
TEST(Destination, DestinationOptionPassesTheDialogsChecks)
{
    CreateEmptyFile(L"C:\\TWFILE");
    const struct {
        std::wstring destination;  // the option and its argument
        const wchar_t* caption;    // of the message the dialog would show
    } cases[] = {
        {L"/DEST:", L"Invalid Destination Path"}, {L"/DEST:\"\"", L"Invalid Destination Path"},
        {L"/DEST:C:\\" + std::wstring(300, L'x'), L"Invalid Destination Path"},
        {L"/DEST:C:\\TWDEST\\A\"B", L"Invalid Destination Path"},
        {L"/DEST:\"C:\\TWDEST ONE\"", L"Invalid Destination Path"},
        {L"\"/DEST:C:\\TWDEST ONE\"", L"Invalid Destination Path"},
        {L"\"/DEST:C:\\TWDEST ONE", L"Invalid Destination Path"},
        {L"/DEST:TAPW", L"Installation Warning"}, {L"/DEST:C:", L"Installation Warning"},
        {L"/DEST:A:\\TAPWRITE", L"Installation Warning"},
        {L"/DEST:\\\\SERVER\\SHARE\\TAPWRITE", L"Installation Warning"},
        {L"/DEST:C:\\TWFILE\\NT", L"Unable to Create Destination Path"},
    };
    for (const auto& c : cases) {
        std::wstring line = L"\"C:\\Program Files\\setup.exe\" /L:1 /TS: " + c.destination;
        ResetSetupState(line.c_str());
        MessageBoxAnswerer answerer({IDOK});
        wchar_t unchanged[kPathChars] = L"C:\\TAPWRITE\\NT";
        EXPECT_FALSE(ChooseDestination(nullptr, unchanged)) << line;
        EXPECT_STREQ(unchanged, L"C:\\TAPWRITE\\NT") << line;
        ASSERT_EQ(answerer.Boxes().size(), 1u) << line;
        EXPECT_EQ(answerer.Boxes()[0].caption, c.caption) << line;
        EXPECT_FALSE(Exists(L"C:\\TWDEST")) << "refused before anything is made: " << line;
    }
    RemoveTree(L"C:\\TWFILE");
}

// The product directory is prepared without moving the process's current
// directory, which a reinstall once left in DEST\CATALOGS: a relative path
// is taken below the Windows directory, one from the root on its drive.
TEST(Destination, PreparingTakesRelativePathsFromTheWindowsDirectoryAndStaysWhereItIs)
{
    ResetSetupState(L"setup.exe /L:1");
    wchar_t buffer[MAX_PATH];
    const std::wstring windows(buffer, GetWindowsDirectoryW(buffer, MAX_PATH)), drive = windows.substr(0, 2);
    const std::wstring current = L"C:\\TWCURRENT";
    CreateDirectoryW(current.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(current.c_str()));
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"TWPREP\\NT", windows + L"\\TWPREP\\NT"},
        {L"\\TWPREP\\NT", drive + L"\\TWPREP\\NT"},
        {drive + L"TWPREP", windows + L"\\TWPREP"},
        {drive + L"\\TWPREP\\NT", drive + L"\\TWPREP\\NT"},  // there already: a reinstall
    };
    for (const auto& [given, prepared] : cases) {
        wchar_t path[kPathChars];
        lstrcpynW(path, given.c_str(), kPathChars);
        EXPECT_EQ(PrepareDestination(path), DestinationResult::Ready) << given;
        EXPECT_EQ(path, prepared);
        EXPECT_TRUE(IsDirectory(prepared + L"\\DATA") && IsDirectory(prepared + L"\\CATALOGS")) << prepared;
        GetCurrentDirectoryW(MAX_PATH, buffer);
        EXPECT_EQ(buffer, current) << given;
    }
    SetCurrentDirectoryW(windows.c_str());
    for (const std::wstring& made : {windows + L"\\TWPREP", drive + L"\\TWPREP", current})
        RemoveTree(made);
}

}  // namespace
