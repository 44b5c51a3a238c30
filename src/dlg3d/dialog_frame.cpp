// The dialog's replacement procedure: the bevelled frame with its grey
// strips and caption box, the controls subclassed at WM_INITDIALOG, and the
// grey face and colours the controls ask for.
#include "dlg3d/dlg3d.h"
#include "dlg3d/library_state.h"

using namespace dlg3d;

namespace {

constexpr LONG kFrameStyle = WS_VISIBLE | WS_DLGFRAME | DS_MODALFRAME;

void PaintDialogFrame(HWND dialog)
{
    RECT window;
    GetWindowRect(dialog, &window);
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    const bool caption = (GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    const int fx = Lib.frameX;
    const int fy = Lib.frameY;
    const int top = caption ? fy - 1 : fy;

    WindowDc dc(dialog, true);
    if (!dc)
        return;
    SavedDc saved(dc);
    const RECT outer = {0, 0, w, h};
    const RECT inner = {1, 1, w - 1, h - 1};
    PaintEdges(dc, outer, Lib.colours[kShadow], Lib.colours[kWindowFrame]);
    PaintEdges(dc, inner, Lib.colours[kHighlight], Lib.colours[kShadow]);
    SelectObject(dc, Lib.faceBrush);
    PatBlt(dc, 2, 2, fx, h - 4, PATCOPY);
    PatBlt(dc, w - 2 - fx, 2, fx, h - 4, PATCOPY);
    PatBlt(dc, 2 + fx, 2, w - 4 - 2 * fx, top, PATCOPY);
    // The bottom strip is fy high, ending on the inner line.
    PatBlt(dc, 2 + fx, h - 2 - fy, w - 4 - 2 * fx, fy, PATCOPY);
    if (caption) {
        const RECT box = {2 + fx, 2 + top, w - 2 - fx, 2 + top + Lib.captionHeight};
        PaintEdges(dc, box, Lib.colours[kShadow], Lib.colours[kHighlight]);
    }
}

LRESULT OnFrameChange(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProcW(dialog, message, wParam, lParam);
    if (Lib.active && (GetWindowLongW(dialog, GWL_STYLE) & kFrameStyle) == kFrameStyle &&
        Accepts(dialog, kRefuse3dFrame))
        PaintDialogFrame(dialog);
    return result;
}

LRESULT OnInitDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcW(PreviousProcedure(dialog, kDialogRow), dialog, message, wParam, lParam);
    if (Lib.active) {
        Subclass3dChildren(dialog, k3dAllClasses);
        InvalidateRect(dialog, nullptr, TRUE);
    }
    return result;
}

bool WantsFace(UINT message, HWND control)
{
    switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return true;
    case WM_CTLCOLORLISTBOX:
        return GetWindow(control, GW_CHILD) && (GetWindowLongW(control, GWL_STYLE) & 3) <= 2;
    default:
        return false;
    }
}

// The dialog's own procedure may choose a brush first; otherwise the face.
LRESULT OnControlColour(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Lib.active) {
        if (auto own = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC))) {
            INT_PTR brush = CallWindowProcW(reinterpret_cast<WNDPROC>(own), dialog, message, wParam, lParam);
            if (brush != 0 && brush != 1)
                return brush;
        }
        HWND control = reinterpret_cast<HWND>(lParam);
        if (WantsFace(message, control)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, Lib.colours[kButtonText]);
            SetBkColor(dc, Lib.colours[kFace]);
            return reinterpret_cast<LRESULT>(Lib.faceBrush);
        }
    }
    return CallWindowProcW(PreviousProcedure(dialog, kDialogRow), dialog, message, wParam, lParam);
}

}  // namespace

namespace dlg3d {

LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        return OnFrameChange(dialog, message, wParam, lParam);
    case WM_INITDIALOG:
        return OnInitDialog(dialog, message, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnControlColour(dialog, message, wParam, lParam);
    case WM_NCDESTROY:
        return ForgetWindow(dialog, kDialogRow, message, wParam, lParam);
    default:
        return CallWindowProcW(PreviousProcedure(dialog, kDialogRow), dialog, message, wParam, lParam);
    }
}

}  // namespace dlg3d
