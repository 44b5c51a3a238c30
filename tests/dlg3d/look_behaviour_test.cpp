// What the 3D look does when controls change, colours change, dialogs
// refuse it, threads start, and the library goes off; run as Windows NT 3.51,
// where the look is on.
#include <gtest/gtest.h>

#include <vector>

#include "dlg3d/dlg3d.h"
#include "dlg3d/library_state.h"
#include "dlg3d/screen_metrics.h"
#include "dlg3d/text_measure.h"
#include "look_ids.h"
#include "support/look_probes.h"

namespace {

class Look3d : public LookTest {
protected:
    void SetUp() override
    {
        LookTest::SetUp();
        ASSERT_TRUE(active_);
    }
};

// A press moves the text 1 pixel right and down; a toggle repaints the glyph
// and not the text beside it; and after many of them the painters have
// given back every DC they took (a DC kept would make the system hand out
// another one for the window).
TEST_F(Look3d, StateChangesRepaintInPlaceAndGiveTheirDcsBack)
{
    Open(IDD_LOOK);
    HWND push = Item(IDC_PUSH);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    RECT up, down;
    ASSERT_GT(CountColour(push, text, &up), 0);
    SendMessageW(push, BM_SETSTATE, TRUE, 0);
    CountColour(push, text, &down);
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    const Probe pressed = {"pressed bevel", IDC_PUSH, In::Client, 5, 1, TopLeft, GetSysColor(COLOR_BTNSHADOW), true};
    EXPECT_EQ(ReadProbe(dialog_, pressed), pressed.colour);
    EXPECT_GT(CountColour(Item(IDC_PUSH_DISABLED), GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(CountColour(Item(IDC_PUSH_DISABLED), text), 0);

    HWND check = Item(IDC_CHECK);
    RECT r;
    GetClientRect(check, &r);
    const COLORREF mark = RGB(255, 0, 255);
    HDC dc = GetDC(check);
    SetPixel(dc, r.right - 2, r.bottom / 2, mark);
    ReleaseDC(check, dc);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    SettleWindows();
    const Probe tick = {"tick", IDC_CHECK, In::Glyph, 3, 5, TopLeft, GetSysColor(COLOR_WINDOWTEXT), true};
    EXPECT_EQ(ReadProbe(dialog_, tick), tick.colour);
    EXPECT_EQ(CountColour(check, mark), 1);

    auto toggle = [check](int times) {
        for (int i = 0; i < times; ++i)
            SendMessageW(check, BM_SETCHECK, i % 2, 0);
        SettleWindows();
        HDC taken = GetDC(check);
        ReleaseDC(check, taken);
        return taken;
    };
    const HDC settled = toggle(2);
    EXPECT_EQ(toggle(200), settled);
}

// A DC handed to a paint keeps its objects and gets no clipping left behind.
TEST_F(Look3d, APaintLeavesTheDcItWasGivenAsItWas)
{
    Open(IDD_LOOK);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 200, 50);
    ReleaseDC(nullptr, screen);
    HGDIOBJ bitmap = SelectObject(memory, canvas);
    const HGDIOBJ font = GetCurrentObject(memory, OBJ_FONT), brush = GetCurrentObject(memory, OBJ_BRUSH);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    for (int id : {IDC_DEFAULT, IDC_CHECK, IDC_GROUP, IDC_BLACK_FRAME, IDC_TEXT}) {
        SendMessageW(Item(id), WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
        EXPECT_EQ(GetCurrentObject(memory, OBJ_FONT), font) << id;
        EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), brush) << id;
        EXPECT_EQ(GetClipRgn(memory, clip), 0) << id;
    }
    DeleteObject(clip);
    SelectObject(memory, bitmap);
    DeleteObject(canvas);
    DeleteDC(memory);
}

// A dialog refusing the look keeps its own and so do its controls; one
// refusing its frame gets the controls' look; one whose property went before
// its end still gets the dialog class's handling.
TEST_F(Look3d, DialogsMayRefuseTheLookOrItsFrame)
{
    Open(IDD_SMALL, kRefuse3dLook);
    EXPECT_FALSE(HasTheLook(dialog_));
    EXPECT_FALSE(HasTheLook(Item(IDC_PUSH)));

    Open(IDD_SMALL, kRefuse3dFrame);
    EXPECT_TRUE(HasTheLook(Item(IDC_CHECK)));
    const Probe outer = {"dialog outer line", 0, In::Window, 0, 0, TopLeft, GetSysColor(COLOR_BTNSHADOW), true};
    EXPECT_NE(ReadProbe(dialog_, outer), outer.colour);

    ASSERT_TRUE(RemovePropW(dialog_, L"Dlg3d"));
    SendMessageW(dialog_, DM_SETDEFID, IDC_PUSH, 0);
    EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_PUSH, DC_HASDEFID));
}

// Sets system colours; returns the ones they replaced.
std::vector<COLORREF> SetColours(const std::vector<int>& elements, const std::vector<COLORREF>& colours)
{
    std::vector<COLORREF> old;
    for (int element : elements)
        old.push_back(GetSysColor(element));
    SetSysColors(static_cast<int>(elements.size()), elements.data(), colours.data());
    return old;
}

TEST_F(Look3d, GlyphsTakeNewColoursOnlyWhenColoursChanged)
{
    Open(IDD_LOOK);
    HWND check = Item(IDC_CHECK);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    const HBITMAP glyphs = dlg3d::Lib.glyphs;
    EXPECT_TRUE(ColorChange3d());
    EXPECT_EQ(dlg3d::Lib.glyphs, glyphs);

    const std::vector<int> elements = {COLOR_BTNSHADOW, COLOR_WINDOWFRAME, COLOR_WINDOW,
                                       COLOR_WINDOWTEXT, COLOR_BTNFACE,    COLOR_BTNHIGHLIGHT};
    const std::vector<COLORREF> colours = {RGB(90, 60, 30),  RGB(10, 20, 90),    RGB(220, 255, 220),
                                           RGB(0, 0, 160),   RGB(200, 180, 160), RGB(250, 240, 230)};
    const std::vector<COLORREF> saved = SetColours(elements, colours);
    EXPECT_TRUE(ColorChange3d());
    EXPECT_NE(dlg3d::Lib.glyphs, glyphs);
    InvalidateRect(dialog_, nullptr, TRUE);
    SettleWindows();
    // Glyph pixels of the shadow, frame, window, text, face and highlight.
    const POINT places[] = {{0, 0}, {1, 1}, {3, 3}, {3, 5}, {11, 11}, {12, 12}};
    for (size_t i = 0; i < elements.size(); ++i) {
        const Probe glyph = {"glyph", IDC_CHECK, In::Glyph, places[i].x, places[i].y, TopLeft, colours[i], true};
        EXPECT_EQ(ReadProbe(dialog_, glyph), glyph.colour) << i;
    }
    const Probe text = {"static text on the parent's face", IDC_TEXT, In::Client, -1, 0, FromRight, colours[4], true};
    EXPECT_EQ(ReadProbe(dialog_, text), text.colour);

    // Grey text that would vanish on the face is drawn mid-grey, or light
    // grey on a mid-grey face.
    const std::vector<int> greyOnFace = {COLOR_BTNFACE, COLOR_GRAYTEXT};
    std::vector<COLORREF> savedGrey;
    for (COLORREF face : {colours[4], RGB(128, 128, 128)}) {
        std::vector<COLORREF> old = SetColours(greyOnFace, {face, face});
        if (savedGrey.empty())
            savedGrey = old;
        ColorChange3d();
        InvalidateRect(Item(IDC_PUSH_DISABLED), nullptr, TRUE);
        SettleWindows();
        const COLORREF grey = face == RGB(128, 128, 128) ? RGB(192, 192, 192) : RGB(128, 128, 128);
        EXPECT_GT(CountColour(Item(IDC_PUSH_DISABLED), grey), 0) << std::hex << face;
    }
    SetColours(greyOnFace, savedGrey);
    SetColours(elements, saved);
    ColorChange3d();
}

ScreenMetrics Screen;
ScreenMetrics TriedScreen()
{
    return Screen;
}

// Off on a 640 x 350 screen and on one of fewer than 16 colours; and after
// the last unregistration the windows it subclassed have their own look.
TEST_F(Look3d, TheLookStaysOffWhereItCannotShowAndAfterTheLastUnregistration)
{
    Open(IDD_SMALL);
    Unregister3dControls(instance_);
    SetScreenMetricsReader(TriedScreen);
    for (ScreenMetrics screen : {ScreenMetrics{640, 350, 4}, ScreenMetrics{1024, 768, 1}, ScreenMetrics{640, 480, 4}}) {
        Screen = screen;
        EXPECT_EQ(Register3dControls(instance_) != FALSE, screen.height == 480) << screen.height << screen.colourBits;
        Unregister3dControls(instance_);
    }
    SetScreenMetricsReader(nullptr);

    RedrawWindow(dialog_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    SettleWindows();
    const Probe outer = {"dialog outer line", 0, In::Window, 0, 0, TopLeft, GetSysColor(COLOR_BTNSHADOW), true};
    EXPECT_NE(ReadProbe(dialog_, outer), outer.colour);
    EXPECT_TRUE(Register3dControls(instance_));  // the fixture's registration again
}

std::vector<HWND> SeenCreated;
HWND ThreadDialog;
bool ThreadDialogHasTheLook;

LRESULT CALLBACK RecordCreations(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        SeenCreated.push_back(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A thread's first dialog, which gets a window of the system's between
// itself and its first control, with a hook of the thread's own beside the
// library's.
DWORD WINAPI FirstDialogOfAThread(void*)
{
    HHOOK recorder = SetWindowsHookExW(WH_CBT, RecordCreations, nullptr, GetCurrentThreadId());
    // Another user of the library in the process, known by its own module.
    HINSTANCE user = GetModuleHandleW(L"user32.dll");
    Register3dControls(user);
    AutoSubclass3d(user);
    ThreadDialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SMALL), nullptr,
                                      LookTest::DialogProc, 0);
    ThreadDialogHasTheLook = HasTheLook(ThreadDialog);
    DestroyWindow(ThreadDialog);
    Unregister3dControls(user);
    UnhookWindowsHookEx(recorder);
    return 0;
}

TEST_F(Look3d, AThreadsFirstDialogGetsTheLookAndOtherHooksSeeEveryWindow)
{
    HANDLE thread = CreateThread(nullptr, 0, FirstDialogOfAThread, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(ThreadDialogHasTheLook);
    ASSERT_FALSE(SeenCreated.empty());
    EXPECT_EQ(SeenCreated.front(), ThreadDialog);
}

TEST(Mnemonics3d, MarkersGoAndTheScanStopsAtTheEnd)
{
    const struct {
        const wchar_t* text;
        bool doubleByte;
        wchar_t prefix;
        const wchar_t* shown;
    } cases[] = {
        {L"&Next", false, 30, L"Next"},          {L"a&&b", false, 30, L"a&b"},
        {L"Go&\0Zap", false, 30, L"Go"},         {L"a\x1e" L"b", false, 30, L"a\x1e" L"b"},
        {L"\x1e" L"File", true, 30, L"File"},    {L"ab\x1f" L"cd", true, 30, L"abd"},
        {L"ab\x1e\0Zap", true, 30, L"ab"},       {L"ab\x1f\0Zap", true, 31, L"ab"},
        {L"abcdefgh", false, 30, L"abcd"},  // the output holds four and the terminator
    };
    for (const auto& c : cases) {
        wchar_t out[5];
        EXPECT_EQ(StripMnemonics(c.text, out, ARRAYSIZE(out), c.doubleByte, c.prefix), wcslen(c.shown));
        EXPECT_STREQ(out, c.shown);
    }
}

}  // namespace
