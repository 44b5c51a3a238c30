#pragma once
// Reading the 3D dialog look back from real windows: test dialogs made in
// this thread (after a window of its own, since the system may slip a window
// in before a thread's first dialog has its controls), and their pixels read
// from the screen.
#include <gtest/gtest.h>
#include <windows.h>

// Drains this thread's queue a few times, so the windows are painted.
void SettleWindows();

// Whether the library subclassed the window.
bool HasTheLook(HWND window);

// Where a probe reads: the control's client area, the whole window of the
// dialog, the dialog's client area around the control, or the glyph of a
// check box or radio button (which sits at the left, centred).
enum class In { Client, Window, Around, Glyph };

// A probe's point: from the left and top edges, or from the right and bottom
// ones (the edge coordinate itself, so -1 is the last pixel inside).
enum Anchor { TopLeft = 0, FromRight = 1, FromBottom = 2, BottomRight = 3 };

struct Probe {
    const char* what;
    int id;  // 0: the dialog; negative: the edit of that combo box
    In in;
    int x, y;
    int anchor;
    COLORREF colour;
    bool plainDiffers;  // the system's own look has another colour there
};

COLORREF ReadProbe(HWND dialog, const Probe& probe);

// The pixels of the control's client area in `colour`, counted, and their
// bounding box (inclusive).
int CountColour(HWND control, COLORREF colour, RECT* box = nullptr);

// The library registered for this thread, with its hook, around each test;
// Open makes a modeless test dialog. `refused` is a question (kRefuse3dLook,
// kRefuse3dFrame) that the dialog answers with a refusal.
class LookTest : public ::testing::Test {
public:
    // The test dialogs' procedure: answers the refused question with 0.
    static INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM lParam);

protected:
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
