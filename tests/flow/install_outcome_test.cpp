// The exit code tells a deployment tool whether the install completed: every
// way of stopping it (closing the window, the session ending, a dialog closed
// with its owner, a destination that cannot be used, keeping a prior
// install) ends with kExitNotCompleted.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "support/install_support.h"
#include "support/setup_process.h"

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";

SetupLaunch FromShare()
{
    SetupLaunch launch;
    launch.program = FixturePath(L"share-en") + L"setup.exe";
    return launch;
}

class Outcome : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveTree(L"C:\\TAPWRITE");
        RemoveTree(L"C:\\TWTEST");
        RemoveProductRegistry();
    }
};

// Answers "Cancel Installation" with Yes.
void ConfirmTheCancel(SetupProcess& setup)
{
    HWND question = setup.WaitForDialog(L"Cancel Installation");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDYES);
}

TEST_F(Outcome, ClosingTheWindowOrEndingTheSessionDuringTheCopyIsNotACompletion)
{
    for (UINT request : {WM_CLOSE, WM_QUERYENDSESSION}) {
        SCOPED_TRACE(request);
        Clean();
        // A directory where a file must go holds the copy at a question.
        CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
        CreateDirectoryW(kTarget.c_str(), nullptr);
        CreateDirectoryW((kTarget + L"twnetat.dll").c_str(), nullptr);
        SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
        HWND box = setup.WaitForDialog(L"Error Opening Destination File", 60000);
        ASSERT_NE(box, nullptr);
        HWND frame = setup.WaitForFrame();
        PostMessageW(frame, request, 0, 0);
        ConfirmTheCancel(setup);
        if (request == WM_QUERYENDSESSION) {
            // The system goes on to end the session; the copy, freed, goes on
            // until it sees the confirmed cancel.
            PostMessageW(frame, WM_ENDSESSION, TRUE, 0);
            RemoveDirectoryW((kTarget + L"twnetat.dll").c_str());
            if (IsWindow(box))
                PressButton(box, IDRETRY);
        }
        EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
        EXPECT_FALSE(FilesIn(kTarget).count(L"TWWINNT.EXE"));
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        RegionalLanguage english(L"ENU");
        SetupProcess setup(c.arguments, FromShare());
        ASSERT_NE(setup.WaitForDialog(c.dialog), nullptr);
        PostMessageW(setup.WaitForFrame(), WM_CLOSE, 0, 0);
        ConfirmTheCancel(setup);
        bool nextShown = false;
        WaitUntil([&] {
            nextShown = nextShown || setup.FindDialog(c.next) != nullptr;
            return setup.WaitForExit(0) != STILL_ACTIVE;
        });
        EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
        EXPECT_FALSE(nextShown);
    }
}

TEST_F(Outcome, DestinationOptionThatCannotBeHonouredEndsBeforeAnyCopy)
{
    const wchar_t* arguments[] = {
        L"/DEST:",
        L"/DEST:C:\\TWTEST\\NT",  // DATA cannot be made: a file has its name
    };
    for (const wchar_t* destination : arguments) {
        SCOPED_TRACE(destination);
        Clean();
        CreateDirectoryW(L"C:\\TWTEST", nullptr);
        CreateDirectoryW(L"C:\\TWTEST\\NT", nullptr);
        CloseHandle(CreateFileW(L"C:\\TWTEST\\NT\\DATA", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        SetupProcess setup(std::wstring(L"/SMS: /TS: ") + destination, FromShare());
        EXPECT_EQ(setup.WaitForExit(60000), static_cast<DWORD>(kExitNotCompleted));
        EXPECT_EQ(GetFileAttributesW(L"C:\\TAPWRITE"), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(FilesIn(L"C:\\TWTEST\\NT\\"), std::set<std::wstring>{L"DATA"});
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        EXPECT_EQ(GetFileAttributesW((std::wstring(windows) + L"\\twdiag.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(Outcome, KeepingThePriorInstallThatTheDestinationOptionNamesEndsTheInstall)
{
    CreateDirectoryW(L"C:\\TWTEST", nullptr);
    CreateDirectoryW(L"C:\\TWTEST\\NT", nullptr);
    CloseHandle(CreateFileW(L"C:\\TWTEST\\NT\\TWWINNT.EXE", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TWTEST\\NT", FromShare());
    HWND question = setup.WaitForDialog(L"Directory In Use");
    ASSERT_NE(question, nullptr);
    PressButton(question, IDNO);
    EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
    EXPECT_EQ(FilesIn(L"C:\\TWTEST\\NT\\"), std::set<std::wstring>{L"TWWINNT.EXE"});
}

}  // namespace
