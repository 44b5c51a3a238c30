// The setup window built in this process: the backdrop on both display
// paths, the panels' layout, the gauge, the info text, and what the Cancel
// button and closing the frame do before and after the sequence is done.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "support/in_process.h"

namespace {

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

// The client backdrop as it paints itself, drawn into a bitmap.
class PrintedClient {
public:
    PrintedClient()
    {
        GetClientRect(ClientWindow, &area_);
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, area_.right, area_.bottom);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(dc_, bitmap_);
        SendMessageW(ClientWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~PrintedClient()
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    const RECT& Area() const { return area_; }

private:
    RECT area_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

class SetupWindow : public SetupWindowTest {};

TEST_F(SetupWindow, FrameIsMaximisedAndPanelsStartHidden)
{
    EXPECT_TRUE(IsZoomed(FrameWindow));
    EXPECT_NE(GetClassLongPtrW(FrameWindow, GCLP_HICON), 0);
    EXPECT_TRUE(IsWindowVisible(ClientWindow));
    EXPECT_FALSE(IsWindowVisible(InfoWindow));
    EXPECT_FALSE(IsWindowVisible(PercentWindow));
    EXPECT_EQ(GetParent(CancelButton), PercentWindow);
    EXPECT_TRUE(GetWindowLongW(CancelButton, GWL_STYLE) & BS_DEFPUSHBUTTON);
}

RECT PlaceInClient(HWND panel)
{
    RECT r;
    GetWindowRect(panel, &r);
    MapWindowPoints(nullptr, ClientWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(SetupWindow, PanelsMeetAtTheMiddleOfATallClientAndStayOnAShortOne)
{
    SendMessageW(ClientWindow, WM_SIZE, 0, MAKELPARAM(1000, 700));
    RECT info = PlaceInClient(InfoWindow);
    RECT percent = PlaceInClient(PercentWindow);
    EXPECT_EQ(info.left, 330);
    EXPECT_EQ(info.top, 350);
    EXPECT_EQ(info.right - info.left, 340);
    EXPECT_EQ(info.bottom - info.top, 200);
    EXPECT_EQ(percent.left, 322);
    EXPECT_EQ(percent.top, 176);
    EXPECT_EQ(percent.bottom, info.top);

    // On a short screen the percent panel keeps 10 pixels from the top and
    // the info panel keeps its lower edge 25 pixels above the bottom.
    SendMessageW(ClientWindow, WM_SIZE, 0, MAKELPARAM(640, 300));
    EXPECT_EQ(PlaceInClient(PercentWindow).top, 10);
    EXPECT_EQ(PlaceInClient(InfoWindow).bottom, 275);
}

TEST_F(SetupWindow, BackdropIsTiledPatternWithBillboardInTheCorner)
{
    PrintedClient printed;
    const RECT& area = printed.Area();
    // The billboard's lower-left pixel sits on the client's lower-left pixel.
    EXPECT_EQ(printed.Pixel(3, area.bottom - 4), BitmapPixel(IDB_BILLBOARD_16, 3, 380 - 4));
    EXPECT_EQ(printed.Pixel(200, area.bottom - 200), BitmapPixel(IDB_BILLBOARD_16, 200, 380 - 200));
    // Elsewhere the 48 x 48 pattern repeats.
    for (int x : {400, 520, 700}) {
        EXPECT_EQ(printed.Pixel(x, 7), BitmapPixel(IDB_PATTERN_16, x % 48, 7)) << x;
        EXPECT_EQ(printed.Pixel(x, 7 + 48), printed.Pixel(x, 7)) << x;
    }
}

TEST_F(SetupWindow, EightBitDisplayStretchesOneColourAndDrawsThePaletteBillboard)
{
    PaletteDisplay = true;
    LoadBillboards();
    PrintedClient printed;
    const RECT& area = printed.Area();
    EXPECT_EQ(printed.Pixel(area.right - 5, 5), RGB(0, 0, 64));
    EXPECT_EQ(printed.Pixel(area.right / 2, area.bottom / 3), RGB(0, 0, 64));
    EXPECT_EQ(printed.Pixel(3, area.bottom - 4), BitmapPixel(IDB_BILLBOARD_256, 3, 380 - 4));
    EXPECT_EQ(printed.Pixel(170, area.bottom - 190), BitmapPixel(IDB_BILLBOARD_256, 170, 380 - 190));
    PaletteDisplay = false;
    LoadBillboards();
}

TEST_F(SetupWindow, GaugeFillsThreePixelsPerPercent)
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

    // Out of range: stored as 100 but shown only at the next repaint.
    SetPercent(150);
    Settle();
    EXPECT_EQ(WindowPixel(PercentWindow, left + 200, row), black);
    InvalidateRect(PercentWindow, nullptr, TRUE);
    UpdateWindow(PercentWindow);
    EXPECT_EQ(WindowPixel(PercentWindow, left + 299, row), BitmapPixel(IDB_GAUGE_FILL, 299, row - 60));

    // Showing the panel starts the gauge again at 0.
    ShowPercentWindow(false);
    ShowPercentWindow(true);
    Settle();
    EXPECT_EQ(WindowPixel(PercentWindow, left + 1, row), black);
    SetPercent(-1);
    Settle();
    EXPECT_EQ(WindowPixel(PercentWindow, left + 1, row), black);
    InvalidateRect(PercentWindow, nullptr, TRUE);
    UpdateWindow(PercentWindow);
    EXPECT_EQ(WindowPixel(PercentWindow, left + 299, row), BitmapPixel(IDB_GAUGE_FILL, 299, row - 60));
}

int InfoPaints;
WNDPROC InfoProcedure;

LRESULT CALLBACK CountInfoPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++InfoPaints;
    return CallWindowProcW(InfoProcedure, window, message, wParam, lParam);
}

TEST_F(SetupWindow, InfoTextWithTheSameIdIsNotRedrawn)
{
    ShowInfoWindow(true);
    InfoProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(InfoWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountInfoPaints)));
    Settle();
    InfoPaints = 0;
    EXPECT_TRUE(SetInfoText(1040));
    EXPECT_GE(InfoPaints, 1);
    InfoPaints = 0;
    EXPECT_TRUE(SetInfoText(1040));
    Settle();
    EXPECT_EQ(InfoPaints, 0);
    EXPECT_TRUE(SetInfoText(1041));
    EXPECT_GE(InfoPaints, 1);
    SetWindowLongPtrW(InfoWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InfoProcedure));
}

void PressKey(HWND window, WPARAM key)
{
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

TEST_F(SetupWindow, EnterAndEscapePressTheCancelButton)
{
    ShowPercentWindow(true);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        CancelRequested = CancelPressed = false;
        SetFocus(CancelButton);
        PressKey(CancelButton, key);
        Settle();
        EXPECT_TRUE(CancelRequested) << key;
        EXPECT_TRUE(CancelPressed) << key;
    }
}

bool QuitRequested(int* code)
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        return false;
    *code = static_cast<int>(msg.wParam);
    return true;
}

TEST_F(SetupWindow, ButtonEndsTheProgramOnceTheSequenceIsDone)
{
    ShowPercentWindow(true);
    SequenceDone = true;
    SendMessageW(CancelButton, BM_CLICK, 0, 0);
    int code = -1;
    EXPECT_TRUE(QuitRequested(&code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(CancelRequested);
}

TEST_F(SetupWindow, ClosingDuringTheSequenceAsksAndNoKeepsItRunning)
{
    MessageBoxAnswerer answerer({IDNO, IDYES});
    SendMessageW(FrameWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(FrameWindow));
    EXPECT_FALSE(CancelRequested);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Cancel Installation");

    // A shutdown is refused while the user does not confirm; here they do.
    EXPECT_EQ(SendMessageW(FrameWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_TRUE(CancelRequested);

    SendMessageW(FrameWindow, WM_CLOSE, 0, 0);  // confirmed already: no question
    EXPECT_FALSE(IsWindow(FrameWindow));
    EXPECT_EQ(answerer.Boxes().size(), 2u);
    int code = -1;
    EXPECT_TRUE(QuitRequested(&code));
    EXPECT_EQ(code, 0);
}

TEST_F(SetupWindow, ShutdownIsRefusedWhenTheUserDeclines)
{
    MessageBoxAnswerer answerer({IDNO});
    EXPECT_EQ(SendMessageW(FrameWindow, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_FALSE(CancelRequested);
    EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST_F(SetupWindow, ClosingAfterTheSequenceNeedsNoConfirmation)
{
    MessageBoxAnswerer answerer({IDNO});
    SequenceDone = true;
    SendMessageW(FrameWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(FrameWindow));
    EXPECT_TRUE(answerer.Boxes().empty());
}

}  // namespace
