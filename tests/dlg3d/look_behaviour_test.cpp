// What the 3D look does when buttons are pressed, colours change, dialogs
// refuse it, threads start and the library goes off; run as Windows NT 3.51.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "dlg3d/dlg3d.h"
#include "dlg3d/library_state.h"
#include "dlg3d/screen_metrics.h"
#include "dlg3d/text_measure.h"
#include "look_ids.h"
#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/look_probes.h"
#include "support/setup_process.h"

using namespace support;

namespace {

using Look3d = LookTest;

bool FrameDrawn(HWND dialog)
{
    return ReadProbe(dialog, {"dialog outer line", 0, In::Window, 0, 0}) == GetSysColor(COLOR_BTNSHADOW);
}

// A press moves the text 1 pixel right and down under a pressed bevel. The
// painters give back every DC they take (a DC kept would make the system hand
// out another one for the window), and a DC handed to a paint keeps its
// objects and gets no clipping left behind.
TEST_F(Look3d, PaintsGiveTheirDcsBackAsTheyWere)
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
    EXPECT_EQ(ReadProbe(dialog_, {"pressed bevel", IDC_PUSH, In::Client, 5, 1}), GetSysColor(COLOR_BTNSHADOW));

    HWND check = Item(IDC_CHECK);
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

    HDC given = GetDC(owner_);
    const HGDIOBJ font = GetCurrentObject(given, OBJ_FONT), brush = GetCurrentObject(given, OBJ_BRUSH);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    for (int id : {IDC_DEFAULT, IDC_CHECK, IDC_GROUP, IDC_BLACK_FRAME, IDC_TEXT}) {
        SendMessageW(Item(id), WM_PAINT, reinterpret_cast<WPARAM>(given), 0);
        EXPECT_EQ(GetCurrentObject(given, OBJ_FONT), font) << id;
        EXPECT_EQ(GetCurrentObject(given, OBJ_BRUSH), brush) << id;
        EXPECT_EQ(GetClipRgn(given, clip), 0) << id;
    }
    DeleteObject(clip);
    ReleaseDC(owner_, given);
}

// The focus rectangle of a check box or radio button is drawn by inverting;
// it goes again when the focus moves on.
TEST_F(Look3d, TheFocusRectangleLeavesWithTheFocus)
{
    Open(IDD_LOOK);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int id : {IDC_CHECK, IDC_RADIO}) {
        HWND button = Item(id);
        const int unfocused = CountColour(button, face);
        SetFocus(button);
        SettleWindows();
        EXPECT_LT(CountColour(button, face), unfocused) << id;
        SetFocus(Item(IDC_PUSH));
        SettleWindows();
        EXPECT_EQ(CountColour(button, face), unfocused) << id;
    }
}

ScreenMetrics Screen;

// A dialog refusing the look keeps its own and so do its controls; one
// refusing its frame gets the controls' look; one whose property went before
// its end still gets the dialog class's handling. The library stays off on a
// 640 x 350 screen and on one of fewer than 16 colours, and after the last
// unregistration the windows it subclassed have their own look.
TEST_F(Look3d, TheLookIsAbsentWhereRefusedOrItCannotShow)
{
    Open(IDD_LOOK, kRefuse3dLook);
    EXPECT_FALSE(HasTheLook(dialog_));
    EXPECT_FALSE(HasTheLook(Item(IDC_PUSH)));

    Open(IDD_LOOK, kRefuse3dFrame);
    EXPECT_TRUE(HasTheLook(Item(IDC_CHECK)));
    EXPECT_FALSE(FrameDrawn(dialog_));
    ASSERT_TRUE(RemovePropW(dialog_, L"Dlg3d"));
    SendMessageW(dialog_, DM_SETDEFID, IDC_PUSH, 0);
    EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_PUSH, DC_HASDEFID));

    Open(IDD_LOOK);
    ASSERT_TRUE(FrameDrawn(dialog_));
    Unregister3dControls(instance_);
    SetScreenMetricsReader([] { return Screen; });
    for (ScreenMetrics screen : {ScreenMetrics{640, 350, 4}, ScreenMetrics{1024, 768, 1}, ScreenMetrics{640, 480, 4}}) {
        Screen = screen;
        EXPECT_EQ(Register3dControls(instance_) != FALSE, screen.height == 480) << screen.height << screen.colourBits;
        Unregister3dControls(instance_);
    }
    SetScreenMetricsReader(nullptr);
    RedrawWindow(dialog_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    SettleWindows();
    EXPECT_FALSE(FrameDrawn(dialog_));
    EXPECT_TRUE(Register3dControls(instance_));  // the fixture's registration again
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
    SendMessageW(Item(IDC_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    const HBITMAP glyphs = dlg3d::Lib.glyphs;
    EXPECT_TRUE(ColorChange3d());
    EXPECT_EQ(dlg3d::Lib.glyphs, glyphs);

    // The glyph's box, inside and tick; then the face and grey text.
    const std::vector<int> elements = {COLOR_BTNSHADOW, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_GRAYTEXT};
    const std::vector<COLORREF> colours = {RGB(90, 60, 30), RGB(220, 255, 220), RGB(0, 0, 160), RGB(200, 180, 160),
                                           RGB(200, 180, 160)};
    const std::vector<COLORREF> saved = SetColours(elements, colours);
    EXPECT_TRUE(ColorChange3d());
    EXPECT_NE(dlg3d::Lib.glyphs, glyphs);
    InvalidateRect(dialog_, nullptr, TRUE);
    SettleWindows();
    const POINT places[] = {{0, 0}, {3, 3}, {3, 5}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadProbe(dialog_, {"glyph", IDC_CHECK, In::Glyph, places[i].x, places[i].y}), colours[i]) << i;

    // Grey text that would vanish on the face is drawn mid-grey, or light
    // grey on a mid-grey face.
    for (COLORREF face : {colours[3], RGB(128, 128, 128)}) {
        SetColours({COLOR_BTNFACE, COLOR_GRAYTEXT}, {face, face});
        ColorChange3d();
        InvalidateRect(Item(IDC_PUSH_DISABLED), nullptr, TRUE);
        SettleWindows();
        const COLORREF grey = face == RGB(128, 128, 128) ? RGB(192, 192, 192) : RGB(128, 128, 128);
        EXPECT_GT(CountColour(Item(IDC_PUSH_DISABLED), grey), 0) << std::hex << face;
    }
    SetColours(elements, saved);
    ColorChange3d();
}

struct SeenBox {
    bool framed;
    std::wstring yes, no;
};
SeenBox Seen;

// Runs in the box's own message loop: reads the box once it is up, then
// answers No.
void CALLBACK ReadBoxAndAnswer(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = GetActiveWindow();
    if (ClassName(box) != L"#32770")
        return;
    KillTimer(nullptr, timer);
    Seen = {FrameDrawn(box), ItemText(box, IDYES), ItemText(box, IDNO)};
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
}

// Setup relabels a message box's buttons from the bank through a procedure
// of its own under the library's: the box keeps both.
TEST_F(Look3d, MessageBoxesHaveTheFrameAndTheBanksButtons)
{
    ResetSetupState();
    LangBase = 4000;
    SetTimer(nullptr, 0, 50, ReadBoxAndAnswer);
    EXPECT_EQ(ShowMessage(LangBase + IDS_CANCEL_TITLE, LangBase + IDS_CANCEL_INSTALL, MB_YESNO, MB_ICONINFORMATION), IDNO);
    EXPECT_TRUE(Seen.framed);
    EXPECT_EQ(Seen.yes, BankString(LangBase + IDS_YES));
    EXPECT_EQ(Seen.no, BankString(LangBase + IDS_NO));
}

HWND FirstCreated;

LRESULT CALLBACK RecordFirstCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !FirstCreated)
        FirstCreated = reinterpret_cast<HWND>(wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A thread's first dialog, which gets a window of the system's between itself
// and its first control, under a hook of the thread's own beside the one of
// another user of the library in the process, known by its own module.
TEST_F(Look3d, AThreadsFirstDialogGetsTheLookAndOtherHooksSeeEveryWindow)
{
    HWND dialog = nullptr;
    bool hasTheLook = false;
    std::thread([&] {
        HHOOK recorder = SetWindowsHookExW(WH_CBT, RecordFirstCreation, nullptr, GetCurrentThreadId());
        HINSTANCE user = GetModuleHandleW(L"user32.dll");
        Register3dControls(user);
        AutoSubclass3d(user);
        dialog = CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_LOOK), nullptr, LookTest::DialogProc, 0);
        hasTheLook = HasTheLook(dialog);
        DestroyWindow(dialog);
        Unregister3dControls(user);
        UnhookWindowsHookEx(recorder);
    }).join();
    EXPECT_TRUE(hasTheLook);
    EXPECT_EQ(FirstCreated, dialog);
}

TEST(Mnemonics3d, MarkersGoAndTheScanStopsAtTheEnd)
{
    const struct { const wchar_t* text; bool doubleByte; wchar_t prefix; const wchar_t* shown; } cases[] = {
        {L"a&&b", false, 30, L"a&b"},       {L"Go&\0Zap", false, 30, L"Go"},  {L"ab\x1f" L"cd", true, 30, L"abd"},
        {L"ab\x1e\0Zap", true, 30, L"ab"},  {L"ab\x1f\0Zap", true, 31, L"ab"},
        {L"abcdefgh", false, 30, L"abcd"},  // the output holds four and the terminator
    };
    for (const auto& c : cases) {
        wchar_t out[5];
        EXPECT_EQ(StripMnemonics(c.text, out, ARRAYSIZE(out), c.doubleByte, c.prefix), wcslen(c.shown));
        EXPECT_STREQ(out, c.shown);
    }
}

}  // namespace
