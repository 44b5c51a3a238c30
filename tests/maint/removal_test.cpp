// The uninstall's guards, run inside the test program: which directory it
// may empty, a failed scheduling, and the restart (through its seam).
#include <gtest/gtest.h>

#include "maint/file_removal.h"
#include "maint/maintenance_dialogs.h"
#include "maint/product_directory.h"
#include "maint/restart.h"
#include "res/resource_ids.h"
#include "shell/hooks.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/registry_override.h"

using namespace support;

namespace {

const std::wstring kDir = L"C:\\TWMAINT\\NT\\";

TEST(Removal, OnlyTheInstalledProductDirectoryIsEmptied)
{
    ResetSetupState();
    wchar_t path[MAX_PATH];
    const std::wstring windows(path, GetWindowsDirectoryW(path, MAX_PATH));
    RegistryOverride dataPath(HKEY_LOCAL_MACHINE, L"Software\\Velmar\\Tapewright\\User Interface", L"Data Path");
    struct Case {
        std::wstring directory;
        std::wstring configured;  // the data path; empty for none
        std::vector<std::wstring> files;
        ProductDirectory found;
    } cases[] = {
        {L"c:\\twmaint\\nt\\", L"C:\\TWMAINT\\NT\\DATA", {}, ProductDirectory::Configured},
        {kDir, L"C:\\TAPWRITE\\NT\\DATA\\", {L"setup.exe", L"TWWINNT.EXE"}, ProductDirectory::NotProduct},
        {kDir, L"", {L"setup.exe", L"TWWINNT.EXE"}, ProductDirectory::HoldsProgram},
        {kDir, L"", {L"setup.exe", L"twwinnt.ex_", L"readme.txt"}, ProductDirectory::NotProduct},
        {L"C:\\", L"C:\\DATA\\", {}, ProductDirectory::NotProduct},
        {windows, windows + L"\\DATA\\", {}, ProductDirectory::NotProduct},
        {SystemDirectory(), SystemDirectory() + L"DATA\\", {}, ProductDirectory::NotProduct},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.directory.c_str() << " " << c.configured.c_str());
        RemoveTree(L"C:\\TWMAINT");
        c.configured.empty() ? dataPath.Remove() : (void)dataPath.Set(c.configured);
        for (const std::wstring& name : c.files)
            CreateEmptyFile(kDir + name);
        EXPECT_EQ(IdentifyProductDirectory(c.directory.c_str()), c.found);
    }
    RemoveTree(L"C:\\TWMAINT");
}

// Every button of the question for a file in use speaks the bank's
// language, and each gives its answer.
TEST(Removal, FileInUseQuestionSpeaksTheBanksLanguage)
{
    const std::pair<int, FileInUseAnswer> presses[] = {
        {IDYES, FileInUseAnswer::Yes}, {IDNO, FileInUseAnswer::No}, {IDCANCEL, FileInUseAnswer::Cancel}};
    for (UINT bank : {2000u, 3000u, 4000u}) {
        ResetSetupState();
        LangBase = bank;
        MessageBoxAnswerer answerer({presses[bank / 1000 - 2].first});
        EXPECT_EQ(AskFileInUse(L"twwinnt.exe"), presses[bank / 1000 - 2].second) << bank;
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        EXPECT_EQ(answerer.Boxes()[0].buttons, BankString(bank + IDS_CANCEL) + L"|" + BankString(bank + IDS_YES) +
                                                   L"|" + BankString(bank + IDS_NO) + L"|");
    }
}

// A deletion the system will not schedule (it finds no empty path) is
// reported as what it is, with the system's code, and is no success.
TEST(Removal, AFailedSchedulingIsReportedWithItsCode)
{
    ResetSetupState();
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_FALSE(ScheduleDeletion(L""));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Unexpected Error");
    EXPECT_EQ(answerer.Boxes()[0].text, L"An unexpected error occured deleting the file ''.\n\nNT error code 3.");
}

// What the restart call saw while it ran.
struct RestartSeen {
    UINT flags = 0;
    LRESULT endSessionAnswer = -1;
    BOOL result = TRUE;
} Seen;

BOOL WINAPI RecordRestart(UINT flags, DWORD)
{
    Seen.flags = flags;
    // The system asks setup's window whether the session may end before
    // the call returns.
    Seen.endSessionAnswer = FrameWindowProc(nullptr, WM_QUERYENDSESSION, 0, 0);
    SetLastError(ERROR_ACCESS_DENIED);
    return Seen.result;
}

TEST(Removal, RestartIsAskedWithThePrivilegeAndNotVetoedBySetup)
{
    RestartSystem = RecordRestart;
    // Restarted; the restart call failing; and last, as the privilege does
    // not come back to this process, a token without it.
    const struct {
        bool removePrivilege;
        BOOL restartResult;
    } cases[] = {{false, TRUE}, {false, FALSE}, {true, TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.removePrivilege << c.restartResult);
        ResetSetupState();
        if (c.removePrivilege) {
            HANDLE token = nullptr;
            TOKEN_PRIVILEGES removed = {1, {{{}, SE_PRIVILEGE_REMOVED}}};
            LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &removed.Privileges[0].Luid);
            ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
            EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &removed, 0, nullptr, nullptr));
            CloseHandle(token);
        }
        Seen = RestartSeen();
        Seen.result = c.restartResult;
        MessageBoxAnswerer answerer({IDNO});
        const bool started = !c.removePrivilege && c.restartResult;
        EXPECT_EQ(RestartWindows(), started);
        EXPECT_EQ(RestartRequested, started);
        EXPECT_EQ(answerer.Boxes().size(), started ? 0u : 1u);
        EXPECT_EQ(Seen.flags, c.removePrivilege ? 0u : static_cast<UINT>(EWX_REBOOT));
        EXPECT_EQ(Seen.endSessionAnswer, c.removePrivilege ? -1 : TRUE);
    }
    RestartSystem = ExitWindowsEx;
}

}  // namespace
