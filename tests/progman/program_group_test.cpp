// The product's program group: its commands, against a Program Manager of
// the tests' own, and the Start Menu folder that the platform's own makes of
// a real install.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "progman/dde_client.h"
#include "progman/program_group.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/start_menu.h"
#include "support/test_progman.h"
#include "support/test_services.h"

namespace {

constexpr wchar_t kTestApplication[] = L"TwTestProgman";
const HINSTANCE kInstance = GetModuleHandleW(nullptr);

// The commands of an install into C:\TW\NT\: the old item's removal, then
// two for each item given as title, file and arguments.
std::vector<std::wstring> Commands(int common, std::vector<std::vector<std::wstring>> items)
{
    const std::wstring flag = std::to_wstring(common);
    const std::wstring prefix = L"[CreateGroup(\"Tapewright 6.0\"," + flag +
                                L")][ShowGroup(\"Tapewright 6.0\",5," + flag + L")]";
    std::vector<std::wstring> all = {prefix + L"[DeleteItem(\"Tapewright Monitor\")]"};
    for (const auto& item : items) {
        const std::wstring path = L"C:\\TW\\NT\\" + item[1];
        const std::wstring line = item.size() > 2 ? path + L" " + item[2] : path;
        all.push_back(prefix + L"[ReplaceItem(" + item[0] + L")]");
        all.push_back(prefix + L"[AddItem(" + line + L"," + item[0] + L"," + path + L",0,,,C:\\TW\\NT\\,,0)]");
    }
    return all;
}

class ProgramGroup : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        ProgmanApplication = kTestApplication;
        ASSERT_TRUE(build_.Set(L"1057"));
        lstrcpyW(DestinationPath, L"C:\\TW\\NT\\");
    }
    void TearDown() override
    {
        ProgmanApplication = L"PROGMAN";
        ResetSetupState();
    }

    RegistryOverride build_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion",
                            L"CurrentBuildNumber"};
};

// Each item replaces one of its title; one refused does not stop the others.
TEST_F(ProgramGroup, EachInstallTypeGetsItsItemsInOrderAndTheSetupItemItsSource)
{
    const std::vector<std::wstring> jobScope =
        Commands(0, {{L"JobScope", L"jobscope.exe"}, {L"\"Tapewright Setup\"", L"setup.exe", L"/U:A:\\  /L:1"},
                     {L"Readme", L"readme.txt"}});
    const struct {
        UINT langBase;
        UINT installType;
        bool common;
        const wchar_t* source;
        TestProgman::Answer answer;
        std::vector<std::wstring> commands;
    } cases[] = {
        {1000, kInstallJobScopeOnly, false, L"A:\\", TestProgman::Answer::kPositive, jobScope},
        {1000, kInstallJobScopeOnly, false, L"A:\\", TestProgman::Answer::kNegative, jobScope},
        {1000, kInstallBackupServer, true, L"C:\\My Disks\\", TestProgman::Answer::kPositive,
         Commands(1, {{L"Tapewright", L"TWWINNT.EXE"}, {L"JobScope", L"jobscope.exe"},
                      {L"\"Tapewright Setup\"", L"setup.exe", L"/U:\"C:\\My Disks\\\"  /L:1"},
                      {L"Readme", L"readme.txt"}, {L"\"Tapewright Help\"", L"TWWINNT.HLP"}})},
        {2000, kInstallJobScopeOnly, false, L"D:\\", TestProgman::Answer::kPositive,
         Commands(0, {{L"JobScope", L"jobscope.exe"},
                      {L"\"Instalaci\x00F3n de Tapewright\"", L"instalar.exe", L"/U:D:\\  /L:2"},
                      {L"L\x00E9" L"ame", L"leame.txt"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "bank " << c.langBase << " type " << c.installType);
        LangBase = c.langBase;
        InstallType = c.installType;
        CommonGroup = c.common;
        lstrcpyW(SourcePath, c.source);
        TestProgman server(kTestApplication, c.answer);
        EXPECT_EQ(CreateProgramGroup(kInstance), 1);
        EXPECT_EQ(server.WideCommands(), c.commands);
    }
}

TEST_F(ProgramGroup, RemovalDeletesThePersonalThenTheCommonGroupAndWithoutServerShowsNothing)
{
    MessageBoxAnswerer answerer({IDOK});
    {
        TestProgman server(kTestApplication);
        EXPECT_EQ(RemoveProgramGroup(kInstance), 1);
        EXPECT_EQ(server.WideCommands(), (std::vector<std::wstring>{L"[DeleteGroup(\"Tapewright 6.0\",0)]",
                                                                    L"[DeleteGroup(\"Tapewright 6.0\",1)]"}));
    }
    InstallType = kInstallBackupServer;
    EXPECT_EQ(CreateProgramGroup(kInstance), 0);
    EXPECT_EQ(RemoveProgramGroup(kInstance), 0);
    EXPECT_TRUE(answerer.Boxes().empty());
}

// Real runs of setup.exe. The platform's own Program Manager refuses an
// item whose command line has arguments, so the setup item is not made there.
class WineProgramGroup : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        RemoveProductInstall();
    }
    void TearDown() override { RemoveProductInstall(); }
};

// A cancel confirmed while the group is built (here while a command waits
// for its acknowledgement) ends the run as not completed; the test build of
// setup talks to the tests' server.
TEST_F(WineProgramGroup, ACancelConfirmedDuringTheGroupStopsIt)
{
    const std::wstring share = L"C:\\TWSHARE\\";
    CopyFolder(FixturePath(L"share-en"), share);
    std::wstring built = SETUP_EXE_PATH;
    ASSERT_TRUE(CopyFileW(built.replace(built.rfind(L"setup.exe"), 9, L"setup_simulated.exe").c_str(),
                          (share + L"setup.exe").c_str(), FALSE));
    for (UINT message : {WM_CLOSE, BM_CLICK}) {
        SCOPED_TRACE(message == WM_CLOSE ? "close, answered Yes unattended" : "Cancel, Yes");
        TestProgman server(kTestApplication, TestProgman::Answer::kPositive, 1000);
        SetEnvironmentVariableW(L"SETUP_PROGMAN", kTestApplication);
        SetupProcess setup(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT", From(share));
        SetEnvironmentVariableW(L"SETUP_PROGMAN", nullptr);
        ASSERT_TRUE(PumpUntil([&] { return server.blocks.size() == 1; }, 60000));
        PostMessageW(message == WM_CLOSE ? setup.WaitForFrame() : setup.WaitForCancelButton(), message, 0, 0);
        if (message == BM_CLICK) {
            ASSERT_TRUE(PumpUntil([&] { return setup.WaitForDialog(L"Cancel Installation", 0); }, kWindowWait));
            ASSERT_TRUE(setup.Answer(L"Cancel Installation", IDYES));
        }
        PumpUntil([&] { return setup.WaitForExit(0) != STILL_ACTIVE; }, kWindowWait);
        // The button's Yes stops only the group; a closed frame ends the run.
        EXPECT_EQ(setup.WaitForExit(0), static_cast<DWORD>(message == WM_CLOSE ? kExitNotCompleted : kExitCompleted));
        EXPECT_EQ(server.blocks.size(), 1u) << "no item is sent after the cancel";
    }
    RemoveTree(share);
}

// The group's windows, which the platform's shell opens a moment after the
// commands, do not cover setup's window and its last question.
TEST_F(WineProgramGroup, TheFrameStaysInFrontOfTheGroupsWindows)
{
    SetupProcess setup(L"/L:1 /EV: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
    const HWND box = setup.WaitForDialog(L"Read Important Information", 60000);
    ASSERT_NE(box, nullptr);
    Sleep(2 * kGroupWindowsSettledMs);
    HWND top = GetTopWindow(nullptr);
    while (top && top != box && !(IsWindowVisible(top) && WindowText(top) == L"Tapewright 6.0"))
        top = GetWindow(top, GW_HWNDNEXT);
    EXPECT_EQ(top, box) << "the first of the question and the group's windows, from the top";
}

TEST_F(WineProgramGroup, AnInstallLeavesTheGroupsLinksAndASecondReplacesThem)
{
    const std::wstring target = L"C:\\TAPWRITE\\NT\\";
    const std::wstring folder = StartMenuGroupFolder(L"Tapewright 6.0");
    const std::set<std::wstring> items = {L"Tapewright", L"JobScope", L"Readme", L"Tapewright Help"};
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
        ASSERT_EQ(setup.WaitForExit(60000), static_cast<DWORD>(kExitCompleted));
        EXPECT_EQ(StartMenuItems(L"Tapewright 6.0"), items) << "an older version's item goes; none is doubled";
        // The next run finds an item that an older version left.
        if (run == 0)
            CopyFileW((folder + L"JobScope.lnk").c_str(), (folder + kOldItemTitle + L".lnk").c_str(), TRUE);
    }
    for (const auto& [title, file] : {std::pair{L"Tapewright", L"TWWINNT.EXE"}, {L"JobScope", L"jobscope.exe"},
                                      {L"Readme", L"readme.txt"}, {L"Tapewright Help", L"TWWINNT.HLP"}}) {
        SCOPED_TRACE(title);
        const ShellLinkData link = ReadShellLink(folder + title + L".lnk");
        ASSERT_TRUE(link.read);
        EXPECT_EQ(lstrcmpiW(link.target.c_str(), (target + file).c_str()), 0) << link.target.c_str();
        EXPECT_EQ(link.arguments, L"");
        EXPECT_EQ(lstrcmpiW(link.workingDirectory.c_str(), target.c_str()), 0) << link.workingDirectory.c_str();
        EXPECT_EQ(lstrcmpiW(link.iconPath.c_str(), (target + file).c_str()), 0) << link.iconPath.c_str();
        EXPECT_EQ(link.iconIndex, 0);
    }
    EXPECT_EQ(RemoveProgramGroup(kInstance), 1);
    EXPECT_FALSE(Exists(folder));
}

}  // namespace
