// The setup window built in this process: the backdrop on both display
// paths, the panels' layout, the gauge, the info text, and what the Cancel
// button and closing the frame do before and after the sequence is done.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "support/in_process.h"

namespace {

// The maximised setup window created in this process.
class SetupWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        static HBRUSH backdrop = CreateSolidBrush(RGB(0, 0, 64));
        static bool registered = RegisterSetupClasses(Instance, backdrop);
        ASSERT_TRUE(registered);
        ASSERT_NE(CreateFrameWindow(Instance), nullptr);
        LoadBillboards();
        ShowWindow(FrameWindow, SW_SHOWMAXIMIZED);
        UpdateWindow(FrameWindow);
        Settle();
    }
    void TearDown() override
    {
        if (IsWindow(FrameWindow))
            DestroyWindow(FrameWindow);
        FrameWindow = ClientWindow = InfoWindow = PercentWindow = CancelButton = nullptr;
        // The frame asks for the end of the program when it goes; this test
        // program carries on.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // Drains this thread's queue so the windows are painted.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            PumpMessages();
            Sleep(20);
        }
    }
};

// The colour of pixel (x, y) of a bitmap resource of the program.
COLORREF BitmapPixel(UINT id, int x, int y)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return colour;
}

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

RECT PlaceInClient(HWND panel)
{
    RECT r;
    GetWindowRect(panel, &r);
    MapWindowPoints(nullptr, ClientWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(SetupWindow, FrameHasItsIconAndPanelsStartHidden)
{
    EXPECT_NE(GetClassLongPtrW(FrameWindow, GCLP_HICON), 0);
    EXPECT_TRUE(IsWindowVisible(ClientWindow));
    EXPECT_FALSE(IsWindowVisible(InfoWindow));
    EXPECT_FALSE(IsWindowVisible(PercentWindow));
    EXPECT_EQ(GetParent(CancelButton), PercentWindow);
    EXPECT_TRUE(GetWindowLongW(CancelButton, GWL_STYLE) & BS_DEFPUSHBUTTON);
}

// The panels meet at the middle of a tall client; on a short one the
// percent panel keeps 10 pixels from the top and the info panel its lower
// edge 25 pixels above the bottom.
TEST_F(SetupWindow, PanelsMeetAtTheMiddleOfATallClientAndStayOnAShortOne)
{
    SendMessageW(ClientWindow, WM_SIZE, 0, MAKELPARAM(1000, 700));
    EXPECT_EQ(PlaceInClient(InfoWindow).top, 350);
    EXPECT_EQ(PlaceInClient(PercentWindow).bottom, 350);
    SendMessageW(ClientWindow, WM_SIZE, 0, MAKELPARAM(640, 300));
    EXPECT_EQ(PlaceInClient(PercentWindow).top, 10);
    EXPECT_EQ(PlaceInClient(InfoWindow).bottom, 275);
}

TEST_F(SetupWindow, BackdropIsThePatternOrOneColourWithTheBillboardInTheCorner)
{
    RECT area;
    GetClientRect(ClientWindow, &area);
    for (bool palette : {false, true}) {
        SCOPED_TRACE(palette ? "8-bit display" : "other depths");
        PaletteDisplay = palette;
        LoadBillboards();
        InvalidateRect(ClientWindow, nullptr, TRUE);
        Settle();
        // The billboard's lower-left pixel sits on the client's lower-left pixel.
        UINT billboard = palette ? IDB_BILLBOARD_256 : IDB_BILLBOARD_16;
        for (int x : {3, 170}) {
            EXPECT_EQ(WindowPixel(ClientWindow, x, area.bottom - 4 - x), BitmapPixel(billboard, x, 380 - 4 - x))
                << x;
        }
        // Elsewhere the 48 x 48 pattern repeats, or one colour is stretched.
        for (int x : {400, 520, 700}) {
            COLORREF top = WindowPixel(ClientWindow, x, 7);
            EXPECT_EQ(top, palette ? RGB(0, 0, 64) : BitmapPixel(IDB_PATTERN_16, x % 48, 7)) << x;
            EXPECT_EQ(WindowPixel(ClientWindow, x, 7 + 48), top) << x;
        }
    }
    PaletteDisplay = false;
    LoadBillboards();
}

TEST_F(SetupWindow, GaugeFillsThreePixelsPerPercentAndStartsAgainWhenShown)
{
    ShowPercentWindow(true);
    RECT client;
    GetClientRect(PercentWindow, &client);
    int left = client.right / 2 - 150;
    int row = 62;  // above the percentage text
    const COLORREF black = RGB(0, 0, 0);

    SetPercent(45);
    Settle();
    EXPECT_EQ(WindowPixel(PercentWindow, left + 134, row), BitmapPixel(IDB_GAUGE_FILL, 134, row - 60));
    EXPECT_EQ(WindowPixel(PercentWindow, left + 135, row), black);
    EXPECT_EQ(WindowPixel(PercentWindow, left + 299, row), black);

    ShowPercentWindow(false);
    ShowPercentWindow(true);
    Settle();
    EXPECT_EQ(WindowPixel(PercentWindow, left + 1, row), black);
}

int InfoPaints;
WNDPROC InfoProcedure;

LRESULT CALLBACK CountInfoPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    InfoPaints += message == WM_PAINT;
    return CallWindowProcW(InfoProcedure, window, message, wParam, lParam);
}

// A new text is painted at once; the same one again is not painted over.
TEST_F(SetupWindow, InfoTextIsRedrawnOnlyWhenItChanges)
{
    ShowInfoWindow(true);
    InfoProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(InfoWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountInfoPaints)));
    Settle();
    const struct {
        UINT id;
        bool painted;
    } steps[] = {{IDS_BILLBOARD_FIRST, true}, {IDS_BILLBOARD_FIRST, false}, {IDS_BILLBOARD_FIRST + 1, true}};
    for (const auto& step : steps) {
        InfoPaints = 0;
        EXPECT_TRUE(SetInfoText(1000 + step.id));
        if (!step.painted)
            Settle();
        EXPECT_EQ(InfoPaints > 0, step.painted) << step.id;
    }
    SetWindowLongPtrW(InfoWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InfoProcedure));
}

bool QuitRequested()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) && msg.wParam == 0;
}

// Enter and Escape press the button; once the sequence is done, the button
// ends the program instead of asking for a cancel.
TEST_F(SetupWindow, CancelButtonAnswersEnterAndEscapeAndEndsTheProgramOnceDone)
{
    ShowPercentWindow(true);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        CancelRequested = CancelPressed = false;
        SetFocus(CancelButton);
        SendMessageW(CancelButton, WM_KEYDOWN, key, 1);
        SendMessageW(CancelButton, WM_KEYUP, key, 0xC0000001);
        Settle();
        EXPECT_TRUE(CancelRequested) << key;
        EXPECT_TRUE(CancelPressed) << key;
    }
    CancelRequested = false;
    SequenceDone = true;
    SendMessageW(CancelButton, BM_CLICK, 0, 0);
    EXPECT_TRUE(QuitRequested());
    EXPECT_FALSE(CancelRequested);
}

TEST_F(SetupWindow, CloseAndShutdownAreCancelsThatTheUserConfirms)
{
    struct Case {
        const char* what;
        UINT message;
        bool sequenceDone;
        bool confirmed;  // a cancel was confirmed before
        int answer;
        LRESULT result;
        bool frameLeft;
        bool cancelled;
        size_t questions;
    } cases[] = {
        {"close, No", WM_CLOSE, false, false, IDNO, 0, true, false, 1},
        {"close, Yes", WM_CLOSE, false, false, IDYES, 0, false, true, 1},
        {"close, confirmed before", WM_CLOSE, false, true, IDNO, 0, false, true, 0},
        {"close after the sequence", WM_CLOSE, true, false, IDNO, 0, false, true, 0},
        {"shutdown, No", WM_QUERYENDSESSION, false, false, IDNO, FALSE, true, false, 1},
        {"shutdown, Yes", WM_QUERYENDSESSION, false, false, IDYES, TRUE, true, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        SequenceDone = c.sequenceDone;
        CancelConfirmed = c.confirmed;
        MessageBoxAnswerer answerer({c.answer});
        EXPECT_EQ(SendMessageW(FrameWindow, c.message, 0, 0), c.result);
        EXPECT_EQ(IsWindow(FrameWindow) != FALSE, c.frameLeft);
        EXPECT_EQ(QuitRequested(), !c.frameLeft);
        EXPECT_EQ(CancelRequested, c.cancelled);
        ASSERT_EQ(answerer.Boxes().size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(answerer.Boxes()[0].caption, BankString(1000 + IDS_CANCEL_TITLE));
        }
    }
}

}  // namespace
