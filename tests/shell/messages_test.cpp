// Message boxes and the cancel question: unattended answers, buttons in the
// language of the bank, the two wordings, and a cancel that is asked about once.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"
#include "support/in_process.h"
#include "support/setup_process.h"

namespace {

const wchar_t kInteractive[] = L"setup.exe /L:1";
const wchar_t kUnattended[] = L"setup.exe /SMS: /TS:";

TEST(BankStrings, LoadingAndFormattingAreBounded)
{
    ResetSetupState();
    wchar_t buffer[16];
    wmemset(buffer, L'#', 16);
    EXPECT_EQ(LoadBankString(1070, buffer, 6), 6);
    EXPECT_STREQ(buffer, L"Cancel");
    EXPECT_EQ(buffer[7], L'#');

    EXPECT_EQ(LoadBankString(1999, buffer, 15), 0);
    EXPECT_STREQ(buffer, L"");

    // Drive name from the path's first two characters, the path in full.
    wchar_t message[512];
    FormatBankString(message, 512, 1075u, L"D:\\TAPWRITE\\NT", L"D:\\TAPWRITE\\NT");
    EXPECT_EQ(std::wstring(message).rfind(L"Disk Drive D: specified in the destination path:\n\nD:\\TAPWRITE\\NT\n\n", 0),
              0u);

    wchar_t small[12];
    wmemset(small, L'#', 12);
    EXPECT_EQ(FormatBankString(small, 10, L"%s and %d", L"a long argument", 42), 9);
    EXPECT_STREQ(small, L"a long ar");
    EXPECT_EQ(small[10], L'#');
    EXPECT_EQ(small[11], L'#');

    std::wstring huge(3000, L'z');
    wchar_t large[2048];
    EXPECT_EQ(FormatBankString(large, 2048, L"%s", huge.c_str()), 1024);
}

TEST(MessageBoxes, UnattendedQuestionsTakeTheirPresetAnswers)
{
    ResetSetupState(kUnattended);
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(AskUser(1072u, 1073u, MB_YESNO, MB_ICONINFORMATION, IDNO), IDNO);
    EXPECT_EQ(AskUser(1076u, 1077u, MB_OK, MB_ICONEXCLAMATION, IDOK), IDOK);
    EXPECT_TRUE(answerer.Boxes().empty());

    // A plain message is shown whatever the mode.
    EXPECT_EQ(ShowMessage(1078u, 1079u, MB_OK, MB_ICONEXCLAMATION), IDOK);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Invalid Destination Path");
    EXPECT_EQ(answerer.Boxes()[0].text, BankString(1079));
}

HHOOK ButtonReader;
std::wstring ButtonLabels;

// Reads the buttons of each box as it opens, before the answerer presses one.
LRESULT CALLBACK ReadButtons(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDRETRY}) {
            if (GetDlgItem(box, id))
                ButtonLabels += ItemText(box, id) + L"|";
        }
    }
    return CallNextHookEx(ButtonReader, code, wParam, lParam);
}

// An interactive question is asked in the current bank, buttons included.
TEST(MessageBoxes, InteractiveQuestionsSpeakTheLanguageOfTheBank)
{
    ResetSetupState(kInteractive);
    LangBase = 2000;
    MessageBoxAnswerer answerer({IDOK, IDNO, IDRETRY});
    ButtonReader = SetWindowsHookExW(WH_CBT, ReadButtons, nullptr, GetCurrentThreadId());
    struct {
        UINT buttons;
        int answer;
        const wchar_t* labels;
    } cases[] = {
        {MB_OK, IDOK, L"Aceptar|"},
        {MB_YESNO | MB_DEFBUTTON2, IDNO, L"&Sí|&No|"},
        {MB_RETRYCANCEL, IDRETRY, L"Cancelar|&Reintentar|"},
    };
    for (const auto& c : cases) {
        ButtonLabels.clear();
        EXPECT_EQ(AskUser(LangBase + IDS_IN_USE_TITLE, LangBase + IDS_IN_USE_TEXT, c.buttons, MB_ICONSTOP, 0),
                  c.answer);
        EXPECT_EQ(ButtonLabels, c.labels);
    }
    UnhookWindowsHookEx(ButtonReader);
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Acceso denegado");
    EXPECT_EQ(answerer.Boxes()[0].text, BankString(LangBase + IDS_IN_USE_TEXT));
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
    EXPECT_EQ(answerer.Boxes()[0].text,
              L"The installation is not complete.  Are you sure you wish to cancel installation?");
    EXPECT_EQ(answerer.Boxes()[1].text, L"The Uninstall is not complete. Are you sure you wish to cancel uninstall?");
}

TEST(CancelQuestion, EnterAnswersNo)
{
    ResetSetupState(kInteractive);
    MessageBoxAnswerer answerer({MessageBoxAnswerer::kPressEnter});
    CancelRequested = true;
    EXPECT_FALSE(CheckCancel());
    EXPECT_EQ(answerer.Boxes().size(), 1u);
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

TEST(CancelQuestion, CheckCancelAsksOnceAndKeepsAConfirmedCancel)
{
    ResetSetupState(kInteractive);
    MessageBoxAnswerer answerer({IDNO, IDYES});

    EXPECT_FALSE(CheckCancel());
    EXPECT_TRUE(answerer.Boxes().empty());

    CancelRequested = true;
    EXPECT_FALSE(CheckCancel());        // No: the request is withdrawn
    EXPECT_FALSE(CancelRequested);
    EXPECT_EQ(answerer.Boxes().size(), 1u);

    CancelRequested = true;
    EXPECT_TRUE(CheckCancel());         // Yes
    EXPECT_TRUE(CheckCancel());         // and not asked again
    EXPECT_TRUE(CheckCancel());
    EXPECT_EQ(answerer.Boxes().size(), 2u);
}

TEST(CancelQuestion, AfterTheSequenceTheFlagIsReturnedWithoutAQuestion)
{
    ResetSetupState(kInteractive);
    MessageBoxAnswerer answerer({IDNO});
    SequenceDone = true;
    CancelRequested = true;
    EXPECT_TRUE(CheckCancel());
    CancelRequested = false;
    EXPECT_FALSE(CheckCancel());
    EXPECT_TRUE(answerer.Boxes().empty());
}

}  // namespace

namespace {

std::vector<UINT> Handled;
bool SecondSeenInsideFirst;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 1) {
        Handled.push_back(message);
        PumpMessages();  // nested: must return at once
        SecondSeenInsideFirst = Handled.size() > 1;
        return 0;
    }
    if (message == WM_APP + 2) {
        Handled.push_back(message);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MessagePump, DrainsTheQueueAndIsNotReentered)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PumpProbe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"PumpProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
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

TEST(MessagePump, EndOfProgramKeepsTheFirstCodeAndSurvivesThePump)
{
    RequestProgramEnd(1);
    RequestProgramEnd(0);
    PumpMessages();  // sees the request and leaves it for the main loop
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
}

}  // namespace
