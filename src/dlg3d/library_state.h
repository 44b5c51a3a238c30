#pragma once
// The library's process-wide state and what its units share. Every unit does
// nothing, or passes every message on, while `active` is false.
#include <windows.h>

namespace dlg3d {

// The system colours the look uses, by index.
enum ColourIndex {
    kHighlight,
    kFace,
    kShadow,
    kButtonText,
    kWindow,
    kWindowText,
    kGrayText,
    kWindowFrame,
    kColourCount,
};

constexpr WORD kVersion310 = 0x030A;
constexpr WORD kVersion400 = 0x0400;

// Rows of the class table; the dialog's row is kept apart from the controls'.
enum ClassRow {
    kButtonRow,
    kListRow,
    kEditRow,
    kComboRow,
    kStaticRow,
    kComboListRow,
    kControlRows,
    kDialogRow = kControlRows,
    kClassProcedures,
};

struct Library {
    bool active;
    int registrations;
    HINSTANCE instance;
    WORD version;  // (major << 8) | minor
    int frameX;    // SM_CXDLGFRAME - 1
    int frameY;    // SM_CYDLGFRAME - 1
    int captionHeight;
    int sizeWidth;
    ATOM property;  // "Dlg3d": the previous window procedure
    bool doubleByte;
    wchar_t menuPrefix;
    COLORREF colours[kColourCount];
    HBRUSH highlightBrush;
    HBRUSH faceBrush;
    HBRUSH shadowBrush;
    HBITMAP glyphs;
    WNDPROC classProcedures[kClassProcedures];
};

extern Library Lib;

// The glyph layout of the bitmap.
constexpr int kGlyphWidth = 14;
constexpr int kGlyphHeight = 13;

// Sides of PaintEdges.
enum : UINT {
    kEdgeLeft = 1,
    kEdgeTop = 2,
    kEdgeRight = 4,
    kEdgeBottom = 8,
    kEdgeAll = 15,
};

// One-pixel edges inside `r`: top and left in `a`, right and bottom in `b`.
void PaintEdges(HDC dc, const RECT& r, COLORREF a, COLORREF b, UINT sides = kEdgeAll);

// The window's previous procedure, from its property; when the property is
// gone, the class procedure of `row`, which is then stored again.
WNDPROC PreviousProcedure(HWND window, ClassRow row);

// WM_NCDESTROY of every replacement procedure: the property goes, the
// message goes on to the previous procedure.
LRESULT ForgetWindow(HWND window, ClassRow row, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses `window` with `procedure` unless it has the property or takes
// it when told (kRefuse3dLook with no flag). Returns whether it did.
bool SubclassWindow(HWND window, WNDPROC procedure);

// Sends a refusal question; true when the window accepts.
bool Accepts(HWND window, UINT question);

// Removes the first hook of `instance`.
void RemoveHook(HINSTANCE instance);

// The replacement procedures.
LRESULT CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);

// A DC from GetDC, released with its window.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The DC's selected objects, clipping, colours and modes, given back at the
// end of a paint.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace dlg3d
