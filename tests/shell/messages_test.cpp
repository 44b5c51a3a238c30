// Bank strings, message boxes and the cancel question: bounded loading and
// formatting, unattended answers, buttons in the language of the bank, the
// two wordings, a cancel that is asked about once; and the message pump,
// which long loops call by time: after every step that takes longer than the
// interval (a block from a slow disk), and not after every step of a fast
// one.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"
#include "support/in_process.h"

namespace {

const wchar_t kInteractive[] = L"setup.exe /L:1";
const wchar_t kUnattended[] = L"setup.exe /SMS: /TS:";

TEST(BankStrings, LoadingAndFormattingAreBounded)
{
    ResetSetupState();
    wchar_t buffer[16];
    wmemset(buffer, L'#', ARRAYSIZE(buffer));
    EXPECT_EQ(LoadBankString(1000 + IDS_CANCEL_TITLE, buffer, 6), 6);
    EXPECT_STREQ(buffer, L"Cancel");
    EXPECT_EQ(buffer[7], L'#');
    EXPECT_EQ(LoadBankString(1999, buffer, ARRAYSIZE(buffer) - 1), 0);  // no string has this ID
    EXPECT_STREQ(buffer, L"");

    // Drive name from the path's first two characters, the path in full.
    wchar_t message[512];
    FormatBankString(message, ARRAYSIZE(message), 1000u + IDS_NO_SPACE_TEXT, L"D:\\TAPWRITE\\NT", L"D:\\TAPWRITE\\NT");
    EXPECT_EQ(std::wstring(message).rfind(L"Disk Drive D: specified in the destination path:\n\nD:\\TAPWRITE\\NT\n\n", 0),
              0u);

    wchar_t small[12];
    wmemset(small, L'#', ARRAYSIZE(small));
    EXPECT_EQ(FormatBankString(small, 10, L"%s and %d", L"a long argument", 42), 9);
    EXPECT_STREQ(small, L"a long ar");
    EXPECT_EQ(std::wstring(small + 10, 2), L"##");

    std::wstring huge(3000, L'z');
    wchar_t large[2048];
    EXPECT_EQ(FormatBankString(large, ARRAYSIZE(large), L"%s", huge.c_str()), 1024);
}

TEST(MessageBoxes, UnattendedQuestionsTakeTheirPresetAnswersButMessagesAreShown)
{
    ResetSetupState(kUnattended);
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(AskUser(1000u + IDS_README_TITLE, 1000u + IDS_README_QUESTION, MB_YESNO, MB_ICONINFORMATION, IDNO),
              IDNO);
    EXPECT_EQ(AskUser(1000u + IDS_CREATE_PATH_TITLE, 1000u + IDS_CREATE_PATH_TEXT, MB_OK, MB_ICONEXCLAMATION, IDOK),
              IDOK);
    EXPECT_TRUE(answerer.Boxes().empty());

    EXPECT_EQ(ShowMessage(1000u + IDS_BAD_PATH_TITLE, 1000u + IDS_BAD_PATH_TEXT, MB_OK, MB_ICONEXCLAMATION), IDOK);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Invalid Destination Path");
    EXPECT_EQ(answerer.Boxes()[0].text, BankString(1000 + IDS_BAD_PATH_TEXT));
}

// An interactive question is asked in the current bank, buttons included.
TEST(MessageBoxes, InteractiveQuestionsSpeakTheLanguageOfTheBank)
{
    ResetSetupState(kInteractive);
    LangBase = 2000;
    MessageBoxAnswerer answerer({IDOK, IDNO, IDRETRY});
    const UINT buttons[] = {MB_OK, MB_YESNO | MB_DEFBUTTON2, MB_RETRYCANCEL};
    const int answers[] = {IDOK, IDNO, IDRETRY};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(AskUser(LangBase + IDS_IN_USE_TITLE, LangBase + IDS_IN_USE_TEXT, buttons[i], MB_ICONSTOP, 0),
                  answers[i]);
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Acceso denegado");
    EXPECT_EQ(answerer.Boxes()[0].text, BankString(LangBase + IDS_IN_USE_TEXT));
    EXPECT_EQ(answerer.Boxes()[0].buttons, L"Aceptar|");
    EXPECT_EQ(answerer.Boxes()[1].buttons, L"&S\u00ed|&No|");
    EXPECT_EQ(answerer.Boxes()[2].buttons, L"Cancelar|&Reintentar|");
}

TEST(CancelQuestion, WordingFollowsTheSetupMode)
{
    ResetSetupState(kInteractive);
    MessageBoxAnswerer answerer({IDNO});
    SetupMode = kModeJobScopeInstall;
    EXPECT_FALSE(ConfirmCancel());
    SetupMode = kModeUninstall;
    EXPECT_FALSE(ConfirmCancel());
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Cancel Installation");
    EXPECT_EQ(answerer.Boxes()[0].text, BankString(1000 + IDS_CANCEL_INSTALL));
    EXPECT_EQ(answerer.Boxes()[1].text, BankString(1000 + IDS_CANCEL_UNINSTALL));
}

TEST(CancelQuestion, UnattendedRunIsAskedOnlyAfterTheButtonWasPressed)
{
    ResetSetupState(kUnattended);
    MessageBoxAnswerer answerer({IDNO});
    EXPECT_TRUE(ConfirmCancel());
    EXPECT_TRUE(answerer.Boxes().empty());
    CancelPressed = true;
    EXPECT_FALSE(ConfirmCancel());
    EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST(CancelQuestion, CheckCancelAsksOnceEnterMeaningNoAndKeepsAConfirmedCancel)
{
    ResetSetupState(kInteractive);
    MessageBoxAnswerer answerer({MessageBoxAnswerer::kPressEnter, IDYES});
    EXPECT_FALSE(CheckCancel());
    EXPECT_TRUE(answerer.Boxes().empty());

    CancelRequested = true;
    EXPECT_FALSE(CheckCancel());  // Enter, No: the request is withdrawn
    EXPECT_FALSE(CancelRequested);
    CancelRequested = true;
    EXPECT_TRUE(CheckCancel());  // Yes
    EXPECT_TRUE(CheckCancel());  // and not asked again
    EXPECT_EQ(answerer.Boxes().size(), 2u);

    // After the sequence the flag is returned without a question.
    ResetSetupState(kInteractive);
    SequenceDone = CancelRequested = true;
    EXPECT_TRUE(CheckCancel());
    CancelRequested = false;
    EXPECT_FALSE(CheckCancel());
    EXPECT_EQ(answerer.Boxes().size(), 2u);
}

// A hidden window of this thread whose messages go to `procedure`.
HWND CreateProbeWindow(WNDPROC procedure)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TestProbe";
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    RegisterClassW(&windowClass);
    return CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance,
                         nullptr);
}

std::vector<UINT> Handled;
bool SecondSeenInsideFirst;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 1 || message == WM_APP + 2)
        Handled.push_back(message);
    if (message == WM_APP + 1) {
        PumpMessages();  // nested: must return at once
        SecondSeenInsideFirst = Handled.size() > 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MessagePump, DrainsTheQueueAndIsNotReentered)
{
    HWND window = CreateProbeWindow(RecordingProc);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_APP + 1, 0, 0);
    PostMessageW(window, WM_APP + 2, 0, 0);
    PumpMessages();
    EXPECT_EQ(Handled, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    EXPECT_FALSE(SecondSeenInsideFirst);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, window, 0, 0, PM_NOREMOVE));
    DestroyWindow(window);
}

TEST(MessagePump, EndOfProgramKeepsTheHighestCodeAndSurvivesThePump)
{
    // Closing the frame asks for a completed end; the sequence it cancelled
    // asks for the other afterwards, and that is the code the run ends with.
    ResetSetupState();
    RequestProgramEnd(kExitCompleted);
    RequestProgramEnd(kExitNotCompleted);
    RequestProgramEnd(kExitCompleted);
    PumpMessages();  // sees the request and leaves it for the main loop
    EXPECT_EQ(RunMessageLoop(), kExitNotCompleted);
}

int LastStepSeen;

LRESULT CALLBACK StepWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        LastStepSeen = static_cast<int>(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs `steps` steps of `stepMs` each, posting the step's number before its
// drain; returns how many steps found their message handled right away.
int StepsDrainedAtOnce(HWND window, int steps, DWORD stepMs)
{
    PumpMessages();
    LastStepSeen = 0;
    int drained = 0;
    for (int step = 1; step <= steps; ++step) {
        Sleep(stepMs);
        PostMessageW(window, WM_APP, step, 0);
        PumpMessagesWhenDue();
        drained += LastStepSeen == step;
    }
    PumpMessages();
    return drained;
}

TEST(Drain, SlowStepsDrainEveryTimeFastOnesByTime)
{
    HWND window = CreateProbeWindow(StepWindowProc);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StepsDrainedAtOnce(window, 10, kDrainIntervalMs + 2), 10);
    EXPECT_LT(StepsDrainedAtOnce(window, 200, 0), 100);

    // A wait of the sequence (a service stopping) keeps the window alive.
    PostMessageW(window, WM_APP, 7, 0);
    DWORD start = GetTickCount();
    WaitPumping(30);
    EXPECT_GE(GetTickCount() - start, 30u);
    EXPECT_EQ(LastStepSeen, 7);
    DestroyWindow(window);
}

}  // namespace
