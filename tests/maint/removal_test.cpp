// The uninstall's pieces run inside the test program: which directory it may
// empty, how the registry keys go, what a failed scheduling and the restart
// do, and which questions the command line answers.
#include <gtest/gtest.h>

#include "maint/file_removal.h"
#include "maint/maintenance_dialogs.h"
#include "maint/product_directory.h"
#include "maint/registry_tree.h"
#include "maint/restart.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"

namespace {

const std::wstring kDir = L"C:\\TWMAINT\\NT\\";
const std::wstring kUserInterface = L"Software\\Velmar\\Tapewright\\User Interface";

class Removal : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        Clean();
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveTree(L"C:\\TWMAINT");
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TapewrightTest");
    }
};

std::wstring WindowsDirectory()
{
    wchar_t path[MAX_PATH];
    GetWindowsDirectoryW(path, MAX_PATH);
    return std::wstring(path) + L"\\";
}

TEST_F(Removal, OnlyTheInstalledProductDirectoryIsEmptied)
{
    RegistryOverride dataPath(HKEY_LOCAL_MACHINE, kUserInterface, L"Data Path");
    struct Case {
        std::wstring directory;
        std::wstring configured;  // the data path; empty for none
        std::vector<std::wstring> files;
        bool accepted;
    } cases[] = {
        {kDir, L"C:\\TWMAINT\\NT\\DATA\\", {}, true},
        {L"c:\\twmaint\\nt\\", L"C:\\TWMAINT\\NT\\DATA", {}, true},
        {kDir, L"C:\\TAPWRITE\\NT\\DATA\\", {L"setup.exe", L"TWWINNT.EXE"}, false},
        {kDir, L"", {L"setup.exe", L"TWWINNT.EXE"}, true},
        {kDir, L"", {L"setup.exe", L"jobscope.exe"}, true},
        {kDir, L"", {L"setup.exe", L"twwinnt.ex_", L"readme.txt"}, false},
        {kDir, L"", {L"TWWINNT.EXE"}, false},
        {L"C:\\", L"C:\\DATA\\", {}, false},
        {WindowsDirectory(), WindowsDirectory() + L"DATA\\", {}, false},
        {SystemDirectory(), SystemDirectory() + L"DATA\\", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.directory.c_str() << " " << c.configured.c_str());
        Clean();
        if (c.configured.empty())
            dataPath.Remove();
        else
            dataPath.Set(c.configured);
        for (const std::wstring& name : c.files)
            CreateEmptyFile(kDir + name);
        EXPECT_EQ(IsInstalledProductDirectory(c.directory.c_str()), c.accepted);
    }
}

TEST_F(Removal, RegistryTreeGoesDepthFirstAndItsParentStays)
{
    for (const wchar_t* key : {L"a\\b\\c", L"a\\b\\d", L"a\\e", L"f"}) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, (std::wstring(L"Software\\TapewrightTest\\") + key).c_str(),
                                &opened),
                  ERROR_SUCCESS);
        RegCloseKey(opened);
    }
    EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\TapewrightTest\\a"));
    EXPECT_FALSE(ReadRegistryKey(L"Software\\TapewrightTest\\a", HKEY_CURRENT_USER).exists);
    EXPECT_TRUE(ReadRegistryKey(L"Software\\TapewrightTest\\f", HKEY_CURRENT_USER).exists);
    EXPECT_FALSE(DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\TapewrightTest\\a"));
    EXPECT_FALSE(DeleteRegistryTree(HKEY_CURRENT_USER, nullptr));
}

TEST_F(Removal, AFailedSchedulingIsReported)
{
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_FALSE(ScheduleDeletion(L""));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, BankString(1000 + IDS_UNEXPECTED_TITLE));
    EXPECT_NE(answerer.Boxes()[0].text.find(L"NT error code 3."), std::wstring::npos);
}

TEST_F(Removal, TheCommandLineAnswersTheQuestions)
{
    struct Case {
        const wchar_t* commandLine;
        MaintenanceChoice choice;
        FileInUseAnswer inUse;
        bool restart;
    } cases[] = {
        {L"setup.exe /U: /LDR: /UNINSTALL:", MaintenanceChoice::Loader, FileInUseAnswer::YesToAll, false},
        {L"setup.exe /U: /UNINSTALL:", MaintenanceChoice::Uninstall, FileInUseAnswer::YesToAll, false},
        {L"setup.exe /U: /UNINSTALL: /REBOOT:", MaintenanceChoice::Uninstall, FileInUseAnswer::YesToAll, true},
        {L"setup.exe /U: /LDR: /SMS: /REBOOT:", MaintenanceChoice::Loader, FileInUseAnswer::YesToAll, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.commandLine);
        ResetSetupState(c.commandLine);
        EXPECT_EQ(ShowMaintenanceMenu(nullptr), c.choice);
        EXPECT_EQ(AskFileInUse(L"x"), c.inUse);
        EXPECT_EQ(AskRestart(), c.restart);
    }
}

// What the restart call saw while it ran.
struct RestartSeen {
    int calls = 0;
    UINT flags = 0;
    LRESULT endSessionAnswer = -1;
    BOOL result = TRUE;
};
RestartSeen Seen;

BOOL WINAPI RecordRestart(UINT flags, DWORD)
{
    ++Seen.calls;
    Seen.flags = flags;
    // The system asks setup's window first whether the session may end.
    Seen.endSessionAnswer = FrameWindowProc(nullptr, WM_QUERYENDSESSION, 0, 0);
    SetLastError(ERROR_ACCESS_DENIED);
    return Seen.result;
}

TEST_F(Removal, RestartIsAskedWithThePrivilegeAndNotVetoedBySetup)
{
    RestartSystem = RecordRestart;
    struct Case {
        const wchar_t* why;
        bool removePrivilege;
        BOOL restartResult;
        int calls;
        const wchar_t* message;  // the start of the box's text, or null
        bool started;
    } cases[] = {
        {L"restarted", false, TRUE, 1, nullptr, true},
        {L"the restart call fails", false, FALSE, 1, L"An unexpected Error (OS Error code 5)", false},
        // Last: the privilege does not come back to this process.
        {L"the token lacks the privilege", true, TRUE, 0, L"Unable to restart the system.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ResetSetupState();
        if (c.removePrivilege) {
            HANDLE token = nullptr;
            TOKEN_PRIVILEGES removed = {1, {{{}, SE_PRIVILEGE_REMOVED}}};
            ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &removed.Privileges[0].Luid));
            ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
            EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &removed, 0, nullptr, nullptr));
            CloseHandle(token);
        }
        Seen = RestartSeen();
        Seen.result = c.restartResult;
        MessageBoxAnswerer answerer({IDNO});
        EXPECT_EQ(RestartWindows(), c.started);
        EXPECT_EQ(Seen.calls, c.calls);
        if (c.calls) {
            EXPECT_EQ(Seen.flags, static_cast<UINT>(EWX_REBOOT));
            EXPECT_EQ(Seen.endSessionAnswer, TRUE);
        }
        EXPECT_EQ(RestartRequested, c.started);
        ASSERT_EQ(answerer.Boxes().size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(answerer.Boxes()[0].text.rfind(c.message, 0), 0u) << answerer.Boxes()[0].text.c_str();
        }
    }
    RestartSystem = ExitWindowsEx;
}

}  // namespace
