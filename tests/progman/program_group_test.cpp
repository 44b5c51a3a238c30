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
#include "res/resource_ids.h"
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
const std::wstring kCurrentVersion = L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion";
const std::wstring kGroup = L"\"Tapewright 6.0\"";

std::wstring Prefix(int common)
{
    const std::wstring flag = std::to_wstring(common);
    return L"[CreateGroup(" + kGroup + L"," + flag + L")][ShowGroup(" + kGroup + L",5," + flag + L")]";
}

// The two commands of one item, for the product directory C:\TW\NT\.
std::vector<std::wstring> ItemCommands(int common, const std::wstring& title, const std::wstring& file,
                                       const std::wstring& args = L"")
{
    const std::wstring path = L"C:\\TW\\NT\\" + file;
    const std::wstring line = args.empty() ? path : path + L" " + args;
    return {Prefix(common) + L"[ReplaceItem(" + title + L")]",
            Prefix(common) + L"[AddItem(" + line + L"," + title + L"," + path + L",0,,,C:\\TW\\NT\\,,0)]"};
}

std::vector<std::wstring> Commands(int common, std::vector<std::vector<std::wstring>> items)
{
    std::vector<std::wstring> all = {Prefix(common) + L"[DeleteItem(\"Tapewright Monitor\")]"};
    for (const auto& item : items)
        all.insert(all.end(), item.begin(), item.end());
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
        lstrcpyW(SourcePath, L"A:\\");
    }
    void TearDown() override
    {
        ProgmanApplication = L"PROGMAN";
        ResetSetupState();
    }

    RegistryOverride build_{HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber"};
};

TEST_F(ProgramGroup, EachInstallTypeGetsItsItemsInOrderAndTheSetupItemItsSource)
{
    struct Case {
        UINT langBase;
        UINT installType;
        bool common;
        const wchar_t* source;
        std::vector<std::wstring> commands;
    } cases[] = {
        {1000, kInstallJobScopeOnly, false, L"A:\\",
         Commands(0, {ItemCommands(0, L"JobScope", L"jobscope.exe"),
                      ItemCommands(0, L"\"Tapewright Setup\"", L"setup.exe", L"/U:A:\\  /L:1"),
                      ItemCommands(0, L"Readme", L"readme.txt")})},
        {1000, kInstallBackupServer, true, L"C:\\My Disks\\",
         Commands(1, {ItemCommands(1, L"Tapewright", L"TWWINNT.EXE"), ItemCommands(1, L"JobScope", L"jobscope.exe"),
                      ItemCommands(1, L"\"Tapewright Setup\"", L"setup.exe", L"/U:\"C:\\My Disks\\\"  /L:1"),
                      ItemCommands(1, L"Readme", L"readme.txt"),
                      ItemCommands(1, L"\"Tapewright Help\"", L"TWWINNT.HLP")})},
        {2000, kInstallJobScopeOnly, false, L"D:\\",
         Commands(0, {ItemCommands(0, L"JobScope", L"jobscope.exe"),
                      ItemCommands(0, L"\"Instalaci\x00F3n de Tapewright\"", L"instalar.exe", L"/U:D:\\  /L:2"),
                      ItemCommands(0, L"L\x00E9" L"ame", L"leame.txt")})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bank " << c.langBase << " type " << c.installType);
        LangBase = c.langBase;
        InstallType = c.installType;
        CommonGroup = c.common;
        lstrcpyW(SourcePath, c.source);
        TestProgman server(kTestApplication);
        EXPECT_EQ(CreateProgramGroup(GetModuleHandleW(nullptr)), 1);
        EXPECT_EQ(server.WideCommands(), c.commands);
    }
}

TEST_F(ProgramGroup, ARefusedItemFailsTheListButTheOthersAreStillSent)
{
    InstallType = kInstallJobScopeOnly;
    TestProgman refusing(kTestApplication, TestProgman::Answer::kNegative);
    ASSERT_EQ(DdeClientOpen(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(AddGroupItems(L"C:\\TW\\NT\\"), 0);
    DdeClientClose();
    EXPECT_EQ(refusing.Blocks().size(), 7u) << "the old item's removal and two commands for each of three items";
}

TEST_F(ProgramGroup, WithoutProgramManagerNothingIsSentOrShown)
{
    MessageBoxAnswerer answerer({IDOK});
    InstallType = kInstallBackupServer;
    EXPECT_EQ(CreateProgramGroup(GetModuleHandleW(nullptr)), 0);
    EXPECT_EQ(RemoveProgramGroup(GetModuleHandleW(nullptr)), 0);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(ProgramGroup, RemovalDeletesThePersonalThenTheCommonGroup)
{
    TestProgman server(kTestApplication);
    EXPECT_EQ(RemoveProgramGroup(GetModuleHandleW(nullptr)), 1);
    const std::vector<std::wstring> expected = {L"[DeleteGroup(" + kGroup + L",0)]",
                                                L"[DeleteGroup(" + kGroup + L",1)]"};
    EXPECT_EQ(server.WideCommands(), expected);
}

// Real installs by setup.exe, with the platform's own Program Manager. It
// refuses an item whose command line has arguments, so the setup item is
// not made here.
class WineProgramGroup : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        RemoveProductInstall();
    }
    void TearDown() override { RemoveProductInstall(); }
};

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";

#define EXPECT_LINK(...) do { SCOPED_TRACE("EXPECT_LINK"); ExpectLink(__VA_ARGS__); } while (0)
void ExpectLink(const std::wstring& title, const std::wstring& file)
{
    SCOPED_TRACE(title.c_str());
    const ShellLinkData link = ReadShellLink(StartMenuGroupFolder(L"Tapewright 6.0") + title + L".lnk");
    ASSERT_TRUE(link.read);
    EXPECT_EQ(lstrcmpiW(link.target.c_str(), (kTarget + file).c_str()), 0) << link.target.c_str();
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(lstrcmpiW(link.workingDirectory.c_str(), kTarget.c_str()), 0) << link.workingDirectory.c_str();
    EXPECT_EQ(lstrcmpiW(link.iconPath.c_str(), (kTarget + file).c_str()), 0) << link.iconPath.c_str();
    EXPECT_EQ(link.iconIndex, 0);
}

TEST_F(WineProgramGroup, AnInstallLeavesTheGroupsLinksAndASecondReplacesThem)
{
    const std::set<std::wstring> serverItems = {L"Tapewright", L"JobScope", L"Readme", L"Tapewright Help"};
    {
        SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
        ASSERT_EQ(setup.WaitForExit(60000), kExitCompleted);
    }
    EXPECT_EQ(StartMenuItems(L"Tapewright 6.0"), serverItems);
    EXPECT_LINK(L"Tapewright", L"TWWINNT.EXE");
    EXPECT_LINK(L"JobScope", L"jobscope.exe");
    EXPECT_LINK(L"Readme", L"readme.txt");
    EXPECT_LINK(L"Tapewright Help", L"TWWINNT.HLP");

    // An older version's item goes; the others are replaced, not doubled.
    const std::wstring folder = StartMenuGroupFolder(L"Tapewright 6.0");
    ASSERT_TRUE(CopyFileW((folder + L"JobScope.lnk").c_str(), (folder + kOldItemTitle + L".lnk").c_str(), TRUE));
    {
        SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
        ASSERT_EQ(setup.WaitForExit(60000), kExitCompleted);
    }
    EXPECT_EQ(StartMenuItems(L"Tapewright 6.0"), serverItems);
    EXPECT_LINK(L"Tapewright", L"TWWINNT.EXE");

    EXPECT_EQ(RemoveProgramGroup(GetModuleHandleW(nullptr)), 1);
    EXPECT_FALSE(Exists(StartMenuGroupFolder(L"Tapewright 6.0")));
}

TEST_F(WineProgramGroup, ASpanishJobScopeInstallHasTheSpanishTitles)
{
    SetupProcess setup(L"/L:2 /SMS: /EV: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-es")));
    ASSERT_EQ(setup.WaitForExit(60000), kExitCompleted);
    EXPECT_EQ(StartMenuItems(L"Tapewright 6.0"), (std::set<std::wstring>{L"JobScope", L"L\x00E9" L"ame"}));
    EXPECT_LINK(L"L\x00E9" L"ame", L"leame.txt");
}

}  // namespace
