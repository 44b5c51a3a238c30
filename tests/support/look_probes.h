#pragma once
// Reading the 3D dialog look back from test dialogs made in this thread,
// after a window of its own (the system may slip one in before a thread's
// first dialog has its controls).
#include <gtest/gtest.h>
#include <windows.h>

namespace support {

// Drains this thread's queue a few times, so the windows are painted.
void SettleWindows();

// Whether the library subclassed the window.
bool HasTheLook(HWND window);

// Where a probe reads: the control's client area, the dialog's whole window,
// the dialog's client area around the control, or the glyph of a check box
// or radio button (at the left, centred). The point counts from the left and
// top edges, or from the right and bottom ones (-1 is the last pixel inside).
enum class In { Client, Window, Around, Glyph };
enum Anchor { TopLeft = 0, FromRight = 1, FromBottom = 2, BottomRight = 3 };

struct Probe {
    const char* what;
    int id;  // 0: the dialog
    In in;
    int x, y;
    int anchor = TopLeft;
    COLORREF colour = 0;
    bool plainDiffers = true;  // the system's own look has another colour there
};
COLORREF ReadProbe(HWND dialog, const Probe& probe);

// Counts the control's client pixels in `colour`; `box` gets their bounds.
int CountColour(HWND control, COLORREF colour, RECT* box = nullptr);

// The library registered for this thread, with its hook, around each test.
// Open makes a modeless test dialog that answers `refused` (kRefuse3dLook,
// kRefuse3dFrame) with a refusal.
class LookTest : public ::testing::Test {
public:
    static INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM lParam);
    void SetUp() override;
    void TearDown() override;
    HWND Open(int templateId, UINT refused = 0);
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    static UINT refused_;
    const HINSTANCE instance_ = GetModuleHandleW(nullptr);
    bool active_ = false;
    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
};

}  // namespace support
