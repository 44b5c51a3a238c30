// What the 3D look does when controls change, colours change, dialogs
// refuse it, threads start, and the library goes off; run as Windows NT 3.51,
// where the look is on.
#include <gtest/gtest.h>

#include <initializer_list>
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

struct GlyphProbe {
    const char* what;
    int x, y;
    COLORREF colour;
};

TEST_F(Look3d, APressedButtonMovesItsTextAndADisabledOneIsGrey)
{
    Open(IDD_LOOK);
    HWND push = Item(IDC_PUSH);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    RECT up, down;
    ASSERT_GT(CountColour(push, text, &up), 0);
    SendMessageW(push, BM_SETSTATE, TRUE, 0);
    SettleWindows();
    CountColour(push, text, &down);
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    const Probe pressed = {"pressed bevel", IDC_PUSH, In::Client, 5, 1, TopLeft, GetSysColor(COLOR_BTNSHADOW), true};
    EXPECT_EQ(ReadProbe(dialog_, pressed), pressed.colour);

    HWND disabled = Item(IDC_PUSH_DISABLED);
    EXPECT_GT(CountColour(disabled, GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(CountColour(disabled, text), 0);
}

// A state change paints the glyph in place: the text beside it is not
// painted again.
TEST_F(Look3d, TogglingACheckBoxRepaintsItsGlyphOnly)
{
    Open(IDD_LOOK);
    HWND check = Item(IDC_CHECK);
    RECT r;
    GetClientRect(check, &r);
    const COLORREF mark = RGB(255, 0, 255);
    HDC dc = GetDC(check);
    SetPixel(dc, r.right - 2, r.bottom / 2, mark);
    ReleaseDC(check, dc);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    SettleWindows();
    EXPECT_EQ(GlyphPixel(check, 3, 5), GetSysColor(COLOR_WINDOWTEXT));
    dc = GetDC(check);
    EXPECT_EQ(GetPixel(dc, r.right - 2, r.bottom / 2), mark);
    ReleaseDC(check, dc);
}

// Many paints later the DCs the painters took are free again (the window's
// cached DC comes back the same, where a DC kept would make the system hand
// out a new one), and a DC handed to a paint keeps its
// objects and has no clipping left behind.
TEST_F(Look3d, PaintsGiveBackTheirDcsAndObjects)
{
    Open(IDD_LOOK);
    HWND check = Item(IDC_CHECK);
    auto toggle = [check](int times) {
        for (int i = 0; i < times; ++i)
            SendMessageW(check, BM_SETCHECK, i % 2, 0);
        SettleWindows();
        HDC dc = GetDC(check);
        ReleaseDC(check, dc);
        return dc;
    };
    const HDC settled = toggle(2);
    EXPECT_EQ(toggle(200), settled);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 200, 50);
    ReleaseDC(nullptr, screen);
    HGDIOBJ bitmap = SelectObject(memory, canvas);
    const HGDIOBJ font = GetCurrentObject(memory, OBJ_FONT), brush = GetCurrentObject(memory, OBJ_BRUSH);
    for (int id : {IDC_DEFAULT, IDC_CHECK, IDC_GROUP, IDC_BLACK_FRAME, IDC_TEXT}) {
        SendMessageW(Item(id), WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
        EXPECT_EQ(GetCurrentObject(memory, OBJ_FONT), font) << id;
        EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), brush) << id;
        HRGN clip = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetClipRgn(memory, clip), 0) << id;
        DeleteObject(clip);
    }
    SelectObject(memory, bitmap);
    DeleteObject(canvas);
    DeleteDC(memory);
}

TEST_F(Look3d, ADialogMayRefuseTheLookOrOnlyItsFrame)
{
    Open(IDD_SMALL, kRefuse3dLook);
    EXPECT_FALSE(HasTheLook(dialog_));
    EXPECT_FALSE(HasTheLook(Item(IDC_PUSH)));

    Open(IDD_SMALL, kRefuse3dFrame);
    EXPECT_TRUE(HasTheLook(dialog_));
    EXPECT_TRUE(HasTheLook(Item(IDC_CHECK)));
    const Probe outer = {"dialog outer line", 0, In::Window, 0, 0, TopLeft, GetSysColor(COLOR_BTNSHADOW), true};
    EXPECT_NE(ReadProbe(dialog_, outer), outer.colour);
}

// A dialog whose property went before its end still gets the dialog
// class's own handling.
TEST_F(Look3d, ADialogThatLostItsPropertyStillBehavesAsADialog)
{
    Open(IDD_SMALL);
    RemovePropW(dialog_, L"Dlg3d");
    SendMessageW(dialog_, DM_SETDEFID, IDC_PUSH, 0);
    EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_PUSH, DC_HASDEFID));
}

// Sets system colours for the test and gives the old ones back.
class SystemColours {
public:
    SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours)
    {
        for (const auto& colour : colours) {
            elements_.push_back(colour.first);
            saved_.push_back(GetSysColor(colour.first));
            wanted_.push_back(colour.second);
        }
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), wanted_.data());
    }
    ~SystemColours() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), saved_.data()); }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> saved_, wanted_;
};

TEST_F(Look3d, AColourChangeRebuildsTheGlyphsOnlyWhenColoursChanged)
{
    Open(IDD_LOOK);
    HWND check = Item(IDC_CHECK);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    const HBITMAP glyphs = dlg3d::Lib.glyphs;
    EXPECT_TRUE(ColorChange3d());
    EXPECT_EQ(dlg3d::Lib.glyphs, glyphs);

    const COLORREF face = RGB(200, 180, 160), shadow = RGB(90, 60, 30), light = RGB(250, 240, 230),
                   window = RGB(220, 255, 220), frame = RGB(10, 20, 90), text = RGB(0, 0, 160);
    {
        SystemColours changed({{COLOR_BTNFACE, face}, {COLOR_BTNSHADOW, shadow}, {COLOR_BTNHIGHLIGHT, light},
                               {COLOR_WINDOW, window}, {COLOR_WINDOWFRAME, frame}, {COLOR_WINDOWTEXT, text}});
        EXPECT_TRUE(ColorChange3d());
        EXPECT_NE(dlg3d::Lib.glyphs, glyphs);
        InvalidateRect(check, nullptr, TRUE);
        SettleWindows();
        const GlyphProbe probes[] = {
            {"box", 0, 0, shadow},   {"inner line", 1, 1, frame}, {"inside", 3, 3, window},
            {"tick", 3, 5, text},    {"face", 11, 11, face},      {"light", 12, 12, light},
        };
        for (const GlyphProbe& probe : probes)
            EXPECT_EQ(GlyphPixel(check, probe.x, probe.y), probe.colour) << probe.what;

        // Grey text that would vanish on the face is drawn mid-grey, or light
        // grey on a mid-grey face.
        HWND disabled = Item(IDC_PUSH_DISABLED);
        for (COLORREF onFace : {face, RGB(128, 128, 128)}) {
            SystemColours grey({{COLOR_BTNFACE, onFace}, {COLOR_GRAYTEXT, onFace}});
            ColorChange3d();
            InvalidateRect(disabled, nullptr, TRUE);
            SettleWindows();
            const COLORREF expected = onFace == face ? RGB(128, 128, 128) : RGB(192, 192, 192);
            EXPECT_GT(CountColour(disabled, expected), 0) << std::hex << onFace;
        }
    }
    ColorChange3d();
}

ScreenMetrics Screen;
ScreenMetrics TriedScreen()
{
    return Screen;
}

// The library stays off on screens that cannot show the look, and after its
// last unregistration windows it subclassed get their own look back.
TEST_F(Look3d, TheLookStaysOffWhereItCannotShowAndAfterTheLastUnregistration)
{
    Open(IDD_SMALL);
    Unregister3dControls(instance_);
    const struct {
        ScreenMetrics screen;
        bool active;
    } screens[] = {
        {{640, 350, 4}, false},
        {{1024, 768, 1}, false},
        {{640, 480, 4}, true},
    };
    SetScreenMetricsReader(TriedScreen);
    for (const auto& tried : screens) {
        Screen = tried.screen;
        EXPECT_EQ(Register3dControls(instance_) != FALSE, tried.active) << tried.screen.width << tried.screen.colourBits;
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
bool ThreadDialogSubclassed;

LRESULT CALLBACK RecordCreations(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        SeenCreated.push_back(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A thread's first dialog: the system makes a window of its own between the
// dialog and its first control. Another hook of the thread sees every
// window, the library's thread entry being looked up or not.
DWORD WINAPI FirstDialogOfAThread(void*)
{
    HHOOK recorder = SetWindowsHookExW(WH_CBT, RecordCreations, nullptr, GetCurrentThreadId());
    // Another user of the library in the process, known by its own module.
    HINSTANCE user = GetModuleHandleW(L"user32.dll");
    Register3dControls(user);
    AutoSubclass3d(user);
    ThreadDialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SMALL), nullptr, LookTest::DialogProc, 0);
    ThreadDialogSubclassed = HasTheLook(ThreadDialog);
    DestroyWindow(ThreadDialog);
    Unregister3dControls(user);
    UnhookWindowsHookEx(recorder);
    return 0;
}

TEST_F(Look3d, AThreadsFirstDialogIsSubclassedAndOtherHooksSeeEveryWindow)
{
    HANDLE thread = CreateThread(nullptr, 0, FirstDialogOfAThread, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(ThreadDialogSubclassed);
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
        {L"&Next", false, 30, L"Next"},
        {L"a&&b", false, 30, L"a&b"},
        {L"Go&\0Zap", false, 30, L"Go"},
        {L"a\x1e" L"b", false, 30, L"a\x1e" L"b"},
        {L"\x1e" L"File", true, 30, L"File"},
        {L"ab\x1f" L"cd", true, 30, L"abd"},
        {L"ab\x1e\0Zap", true, 30, L"ab"},
        {L"ab\x1f\0Zap", true, 31, L"ab"},
    };
    for (const auto& c : cases) {
        wchar_t out[16];
        wmemset(out, L'#', ARRAYSIZE(out));
        EXPECT_EQ(StripMnemonics(c.text, out, ARRAYSIZE(out), c.doubleByte, c.prefix), wcslen(c.shown));
        EXPECT_STREQ(out, c.shown);
    }
    wchar_t small[3];
    EXPECT_EQ(StripMnemonics(L"abcdef", small, ARRAYSIZE(small), false, 30), 2u);
    EXPECT_STREQ(small, L"ab");
}

}  // namespace
