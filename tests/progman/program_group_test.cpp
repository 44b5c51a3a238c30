// The program group: its commands' text, the conversation with a Program
// Manager of the tests' own, and what the platform's own makes of an install.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "progman/dde_client.h"
#include "progman/progman_commands.h"
#include "progman/program_group.h"
#include "shell/hooks.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/start_menu.h"
#include "support/test_progman.h"
#include "support/test_services.h"

using namespace support;

namespace {

using Answer = TestProgman::Answer;

constexpr wchar_t kTestApplication[] = L"TwTestProgman";
constexpr DWORD kShortAckTimeoutMs = 500;
const HINSTANCE kInstance = GetModuleHandleW(nullptr);

// The group's two commands that lead each command of an install: the
// personal group and the common one.
const std::wstring kPersonal = L"[CreateGroup(\"Tapewright 6.0\",0)][ShowGroup(\"Tapewright 6.0\",5,0)]";
const std::wstring kCommon = L"[CreateGroup(\"Tapewright 6.0\",1)][ShowGroup(\"Tapewright 6.0\",5,1)]";

// A field that would end the command is quoted; what no quoting keeps whole is refused.
TEST(CommandText, FieldsThatWouldEndACommandAreQuotedAndTheUnquotableRefused)
{
    std::wstring command;
    ASSERT_TRUE(FormatAddItem(L"T,W", 1, L"C:\\Program Files\\TW\\setup.exe", L"C:\\A)][DeleteGroup(Main)]\\",
                              L"/U:A:\\  /L:2", L"Setup", 0, 0, &command));
    EXPECT_EQ(command, L"[CreateGroup(\"T,W\",1)][ShowGroup(\"T,W\",5,1)][AddItem(\"C:\\Program Files\\TW\\setup.exe\""
                       L" /U:A:\\  /L:2,Setup,\"C:\\Program Files\\TW\\setup.exe\",0,,,"
                       L"\"C:\\A)][DeleteGroup(Main)]\\\",,0)]");
    for (const wchar_t* args : {L"/U:A,B\\", L"/U:\"A\\  /L:1"})  // a comma outside quotes, a quote left open
        EXPECT_FALSE(FormatAddItem(L"TW", 0, L"C:\\A\\x.exe", L"C:\\A\\", args, L"X", 0, 0, &command)) << args;
    EXPECT_FALSE(FormatAddItem(L"TW", 0, L"C:\\A\\x.exe", L"C:\\A\\", L"", L"X\"", 0, 0, &command));
}

class Progman : public testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        ProgmanApplication = kTestApplication;
        ASSERT_TRUE(build_.Set(L"1057"));
        // Sorted before the build number and longer than it: the number is
        // read by its name, not found by enumerating.
        ASSERT_TRUE(longFirst_.Set(std::wstring(300, L'x')));
        lstrcpyW(DestinationPath, L"C:\\TW\\NT\\");
    }
    void TearDown() override
    {
        DdeClientClose();
        ProgmanApplication = L"PROGMAN";
        DdeAckTimeoutMs = kDdeAckTimeoutMs;
    }

    RegistryOverride build_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion",
                            L"CurrentBuildNumber"};
    RegistryOverride longFirst_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion", L"!first"};
};

// On build 528 commands go as code page 437 bytes; one too long is refused.
// Acknowledgements (sent from a timer) are awaited with the windows alive; a
// refused command fails; the wait ends at the time-out, leaving the block to
// the server, or when the server goes.
TEST_F(Progman, ACommandIsSentInTheServersFormAndFailsWhenRefusedUnansweredOrOrphaned)
{
    ASSERT_TRUE(build_.Set(L"528"));
    std::wstring text;
    std::string bytes;
    for (int byte = 1; byte <= 0xFF; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(437, 0, &narrow, 1, &wide, 1), 1);
        text += byte < 0x80 ? static_cast<wchar_t>(byte) : wide;  // the upper half as the system reads it
        bytes += narrow;
    }
    for (wchar_t ch = 0xFF01; ch <= 0xFF5E; ++ch) {
        text += ch;
        bytes += static_cast<char>(ch - 0xFF01 + 0x21);
    }
    // The symbols, the small and fullwidth forms outside the fullwidth ASCII
    // block, then characters outside every table, which take '_'.
    text += L"\x00A7\x00B6\x2022\x203C\x2190\x2191\x2192\x2193\x2194\x2195\x21A8\x221F\x22D9\x25AC\x25B2\x25BA"
            L"\x25BC\x25C4\x25CB\x25D8\x263A\x263B\x263C\x2640\x2642\x2660\x2663\x2665\x2666\x266A\x266B"
            L"\xFE33\xFE34\xFE35\xFE36\xFE37\xFE38\xFE4D\xFE4E\xFE4F\xFE50\xFE52\xFE54\xFE55\xFE56\xFE57\xFE59"
            L"\xFE5A\xFE5B\xFE5C\xFE5F\xFE60\xFE61\xFE62\xFE63\xFE64\xFE65\xFE66\xFE68\xFE69\xFE6A\xFE6B"
            L"\xFFE0\xFFE1\xFFE2\xFFE3\xFFE4\xFFE5\x0416\xFF5F\xFE51\xFFE6\xD83D";
    bytes += "\x15\x16\x1C\x1D\x1B\x1A\x03\x14\x13\x0D\x19\x18\x1E\x1F\x17\x10"
             "\x12\x0A\x04\x02\x01\x0E\x0B\x06\x08\x07\x05\x0C\x09\x0F\x11"
             "__(){}___,.;:?!(){}#&*+-<>=\\$%@\xA2\xA3\xAC\xAF\xA6\xA5_____";
    DdeAckTimeoutMs = kShortAckTimeoutMs;
    {
        TestProgman server(kTestApplication);
        ASSERT_TRUE(DdeClientOpen(kInstance));
        EXPECT_TRUE(DdeExecute(text.c_str()));
        EXPECT_FALSE(DdeExecute(std::wstring(kMaxOemCommandBytes, L'x').c_str())) << "too long with its terminator";
        ASSERT_EQ(server.blocks.size(), 1u);
        EXPECT_EQ(server.blocks[0].c_str(), bytes);
        DdeClientClose();
    }
    for (auto answer : {Answer::kNegative, Answer::kNever, Answer::kGone}) {
        SCOPED_TRACE(static_cast<int>(answer));
        const bool gone = answer == Answer::kGone;
        TestProgman server(kTestApplication, answer, gone ? kShortAckTimeoutMs / 10 : 0);
        ASSERT_TRUE(DdeClientOpen(kInstance));
        // The server reads a copy; the client's block takes the handle freed here.
        const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 1);
        GlobalFree(block);
        const DWORD start = GetTickCount();
        EXPECT_FALSE(DdeExecute(L"[DeleteGroup(X)]"));
        EXPECT_LT(GetTickCount() - start, gone ? kShortAckTimeoutMs / 2 : kShortAckTimeoutMs * 4);
        if (answer == Answer::kNever) {
            EXPECT_NE(GlobalSize(block), 0u) << "the block stays the server's";
        }
        DdeClientClose();
    }
}

// Each item replaces one of its title; one refused does not stop the others,
// one unanswered ends the group there. Removal deletes the personal group,
// then the common one.
TEST_F(Progman, EachInstallTypeGetsItsItemsInOrderAndRemovalDeletesBothGroups)
{
    DdeAckTimeoutMs = kShortAckTimeoutMs;
    // An install into C:\TW\NT\: the old item's removal, then for each item
    // the removal of one of its title and the item.
    const std::vector<std::wstring> jobScope = {
        kPersonal + L"[DeleteItem(\"Tapewright Monitor\")]",
        kPersonal + L"[ReplaceItem(JobScope)]",
        kPersonal + L"[AddItem(C:\\TW\\NT\\jobscope.exe,JobScope,C:\\TW\\NT\\jobscope.exe,0,,,C:\\TW\\NT\\,,0)]",
        kPersonal + L"[ReplaceItem(\"Tapewright Setup\")]",
        kPersonal + L"[AddItem(C:\\TW\\NT\\setup.exe /U:A:\\  /L:1,\"Tapewright Setup\",C:\\TW\\NT\\setup.exe,0,,,"
                    L"C:\\TW\\NT\\,,0)]",
        kPersonal + L"[ReplaceItem(Readme)]",
        kPersonal + L"[AddItem(C:\\TW\\NT\\readme.txt,Readme,C:\\TW\\NT\\readme.txt,0,,,C:\\TW\\NT\\,,0)]",
    };
    const std::vector<std::wstring> backupServer = {
        kCommon + L"[DeleteItem(\"Tapewright Monitor\")]",
        kCommon + L"[ReplaceItem(Tapewright)]",
        kCommon + L"[AddItem(C:\\TW\\NT\\TWWINNT.EXE,Tapewright,C:\\TW\\NT\\TWWINNT.EXE,0,,,C:\\TW\\NT\\,,0)]",
        kCommon + L"[ReplaceItem(JobScope)]",
        kCommon + L"[AddItem(C:\\TW\\NT\\jobscope.exe,JobScope,C:\\TW\\NT\\jobscope.exe,0,,,C:\\TW\\NT\\,,0)]",
        kCommon + L"[ReplaceItem(\"Tapewright Setup\")]",
        kCommon + L"[AddItem(C:\\TW\\NT\\setup.exe /U:\"C:\\My Disks\\\"  /L:1,\"Tapewright Setup\","
                  L"C:\\TW\\NT\\setup.exe,0,,,C:\\TW\\NT\\,,0)]",
        kCommon + L"[ReplaceItem(Readme)]",
        kCommon + L"[AddItem(C:\\TW\\NT\\readme.txt,Readme,C:\\TW\\NT\\readme.txt,0,,,C:\\TW\\NT\\,,0)]",
        kCommon + L"[ReplaceItem(\"Tapewright Help\")]",
        kCommon + L"[AddItem(C:\\TW\\NT\\TWWINNT.HLP,\"Tapewright Help\",C:\\TW\\NT\\TWWINNT.HLP,0,,,"
                  L"C:\\TW\\NT\\,,0)]",
    };
    const struct {
        UINT installType;
        bool common;
        const wchar_t* source;
        Answer answer;
        std::vector<std::wstring> commands;
    } cases[] = {
        {kInstallJobScopeOnly, false, L"A:\\", Answer::kPositive, jobScope},
        {kInstallJobScopeOnly, false, L"A:\\", Answer::kNegative, jobScope},
        {kInstallJobScopeOnly, false, L"A:\\", Answer::kNever, {jobScope[0]}},
        {kInstallBackupServer, true, L"C:\\My Disks\\", Answer::kPositive, backupServer},
    };
    for (const auto& c : cases) {
        InstallType = c.installType;
        CommonGroup = c.common;
        lstrcpyW(SourcePath, c.source);
        TestProgman server(kTestApplication, c.answer);
        EXPECT_TRUE(CreateProgramGroup(kInstance));
        EXPECT_EQ(server.WideCommands(), c.commands) << c.installType << " answer " << int(c.answer);
    }
    MessageBoxAnswerer answerer({IDOK});
    // Under a setup window the client is a child of it, gone with the
    // conversation: the system visits every other top-level window when a
    // top-level one is destroyed, which holds setup's windows.
    {
        FrameWindow = CreateWindowExW(0, L"Static", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                      kInstance, nullptr);
        TestProgman server(kTestApplication);
        EXPECT_TRUE(RemoveProgramGroup(kInstance));
        EXPECT_EQ(server.WideCommands(), (std::vector<std::wstring>{L"[DeleteGroup(\"Tapewright 6.0\",0)]",
                                                                    L"[DeleteGroup(\"Tapewright 6.0\",1)]"}));
        EXPECT_EQ(server.clientParent, FrameWindow);
        EXPECT_EQ(GetWindow(FrameWindow, GW_CHILD), nullptr);
        DestroyWindow(FrameWindow);
        FrameWindow = nullptr;
    }
    {
        TestProgman silent(kTestApplication, Answer::kNever);
        EXPECT_FALSE(RemoveProgramGroup(kInstance));
        EXPECT_EQ(silent.blocks.size(), 1u);
    }
    EXPECT_FALSE(CreateProgramGroup(kInstance));
    EXPECT_TRUE(answerer.Boxes().empty()) << "without a server";
}

// A program whose windows stop taking messages holds neither the group's
// building nor its removal up: the initiate passes over its windows.
TEST_F(Progman, AHungProgramDoesNotHoldTheConversationUp)
{
    // Three top-level windows of a thread that then stops taking messages,
    // for a minute at most.
    HANDLE hung = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread program([&] {
        std::vector<HWND> windows;
        for (int i = 0; i < 3; ++i)
            windows.push_back(CreateWindowExW(0, L"Static", L"hung", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                              nullptr, nullptr, nullptr));
        SetEvent(hung);
        WaitForSingleObject(release, 60000);
        for (HWND window : windows)
            DestroyWindow(window);
    });
    WaitForSingleObject(hung, INFINITE);
    TestProgman server(kTestApplication);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RemoveProgramGroup(kInstance));
    EXPECT_LT(GetTickCount() - start, kDdeInitiateWindowMs + 1500);
    EXPECT_EQ(server.blocks.size(), 2u);
    SetEvent(release);
    program.join();
    CloseHandle(hung);
    CloseHandle(release);
}

class WineProgramGroup : public testing::Test {
protected:
    void SetUp() override { RemoveProductInstall(); }
    void TearDown() override { RemoveProductInstall(); }
};

// A cancel confirmed while the group is built (here while a command waits
// for its acknowledgement) stops the group: after the Cancel button's Yes the
// run completes, after a closed frame it ends there. The test build of setup
// talks to the tests' server, which also shows "/COMMON:" making the group
// common, as the destination dialog's check box would. Without a server the
// install completes.
TEST_F(WineProgramGroup, ACancelConfirmedDuringTheGroupStopsItAndNoServerDoesNot)
{
    const std::wstring share = L"C:\\TWSHARE\\";
    CopySimulatedShare(share);
    SetEnvironmentVariableW(L"SETUP_PROGMAN", kTestApplication);
    for (UINT message : {WM_CLOSE, BM_CLICK}) {
        SCOPED_TRACE(message == WM_CLOSE ? "close, answered Yes unattended" : "Cancel, Yes");
        TestProgman server(kTestApplication, Answer::kPositive, 1000);
        const bool common = message == WM_CLOSE;
        SetupProcess setup(std::wstring(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT") + (common ? L" /COMMON:" : L""),
                           From(share));
        ASSERT_TRUE(PumpUntil([&] { return server.blocks.size() == 1; }, 60000));
        EXPECT_EQ(server.WideCommands()[0], (common ? kCommon : kPersonal) + L"[DeleteItem(\"Tapewright Monitor\")]");
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
    SetEnvironmentVariableW(L"SETUP_PROGMAN", L"TwNoProgman");
    SetupProcess setup(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT", From(share));
    EXPECT_EQ(setup.WaitForExit(60000), static_cast<DWORD>(kExitCompleted)) << "an install without a server";
    SetEnvironmentVariableW(L"SETUP_PROGMAN", nullptr);
    RemoveTree(share);
}

// The group's windows, which the platform's shell opens a moment after the
// commands, do not cover setup's window and its last question.
TEST_F(WineProgramGroup, AnInstallLeavesTheGroupsLinksAndTheFrameInFrontOfItsWindows)
{
    // A second install replaces the items in place, and an older version's
    // item goes.
    const std::wstring folder = StartMenuGroupFolder(L"Tapewright 6.0");
    ASSERT_EQ(SetupProcess(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en"))).WaitForExit(60000),
              static_cast<DWORD>(kExitCompleted));
    CreateEmptyFile(folder + L"Tapewright Monitor.lnk");
    SetupProcess setup(L"/L:1 /EV: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
    const HWND box = setup.WaitForDialog(L"Read Important Information", 60000);
    ASSERT_NE(box, nullptr);
    Sleep(2 * kGroupWindowsSettledMs);
    HWND top = GetTopWindow(nullptr);
    while (top && top != box && !(IsWindowVisible(top) && WindowText(top) == L"Tapewright 6.0"))
        top = GetWindow(top, GW_HWNDNEXT);
    EXPECT_EQ(top, box) << "the first of the question and the group's windows, from the top";
    EXPECT_EQ(FilesIn(folder), (std::set<std::wstring>{L"JobScope.lnk", L"Readme.lnk"}));
    const ShellLinkData link = ReadShellLink(folder + L"JobScope.lnk");
    EXPECT_EQ(lstrcmpiW(link.target.c_str(), L"C:\\TAPWRITE\\NT\\jobscope.exe"), 0) << link.target.c_str();
    EXPECT_EQ(lstrcmpiW(link.workingDirectory.c_str(), L"C:\\TAPWRITE\\NT\\"), 0) << link.workingDirectory.c_str();
}

}  // namespace
