// Edit controls, list boxes and combo boxes with a two-line sunken border,
// drawn in the parent around the control after the control has painted.
#include <wchar.h>

#include "dlg3d/library_state.h"

using namespace dlg3d;

namespace {

constexpr int kComboEditId = 1001;
constexpr int kComboListId = 1000;

bool IsComboBox(HWND window)
{
    wchar_t name[16];
    return window && GetClassNameW(window, name, ARRAYSIZE(name)) && wcscmp(name, L"ComboBox") == 0;
}

LONG StyleOf(HWND window)
{
    return GetWindowLongW(window, GWL_STYLE);
}

RECT RectIn(HWND window, HWND parent)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The two lines: the inner one on the control's own edge pixels, the outer
// one a pixel outside.
void SunkenFrame(HDC dc, const RECT& r, UINT sides)
{
    RECT outer = r;
    InflateRect(&outer, 1, 1);
    PaintEdges(dc, r, Lib.colours[kWindowFrame], Lib.colours[kFace], sides);
    PaintEdges(dc, outer, Lib.colours[kShadow], Lib.colours[kHighlight], sides);
}

void FillColumn(HDC dc, int x, int top, int bottom, COLORREF colour)
{
    const RECT column = {x, top, x + 1, bottom};
    PaintEdges(dc, column, colour, colour, kEdgeLeft);
}

void FillRow(HDC dc, int left, int right, int y, COLORREF colour)
{
    const RECT row = {left, y, right, y + 1};
    PaintEdges(dc, row, colour, colour, kEdgeTop);
}

enum class Kind { Edit, Combo, List };

// The platform may draw a sunken edge of its own inside a control, whatever
// system it reports: a client edge, or a combo box's own, SM_CXEDGE lines
// wide where the system before 4.0 has a one-pixel border (and no such
// metric). The look's inner line lies on its outer line; the lines within
// get the field's own brush, so the look's frame is the only one.
void CoverPlatformEdge(HDC dc, RECT r, HBRUSH field)
{
    for (int line = 1; line < GetSystemMetrics(SM_CXEDGE); ++line) {
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, field);
    }
}

// A client edge is covered with the brush the control fills itself with,
// asked of its parent as the control asks it: a disabled or read-only edit
// has the static one.
void CoverClientEdge(HDC dc, HWND control, Kind kind, const RECT& r)
{
    if (!(GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        return;
    UINT question = WM_CTLCOLORLISTBOX;
    if (kind != Kind::List)
        question = IsWindowEnabled(control) && !(StyleOf(control) & ES_READONLY) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    auto field = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(control), question, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    CoverPlatformEdge(dc, r, field ? field : GetSysColorBrush(COLOR_WINDOW));
}

void PaintScrolledFrame(HDC dc, const RECT& r, LONG style)
{
    const COLORREF frame = Lib.colours[kWindowFrame];
    const COLORREF light = Lib.colours[kHighlight];
    UINT sides = kEdgeAll;
    if (style & WS_VSCROLL)
        sides &= ~kEdgeRight;
    if (style & WS_HSCROLL)
        sides &= ~kEdgeBottom;
    SunkenFrame(dc, r, sides);
    if (style & WS_VSCROLL) {
        FillColumn(dc, r.right, r.top - 1, r.bottom + 1, light);
        FillRow(dc, r.right - GetSystemMetrics(SM_CXVSCROLL), r.right, r.bottom - 1, frame);
    }
    if (style & WS_HSCROLL) {
        FillRow(dc, r.left - 1, r.right + 1, r.bottom, light);
        FillColumn(dc, r.right - 1, r.bottom - GetSystemMetrics(SM_CYHSCROLL), r.bottom, frame);
    }
}

// A combo box's own edit or list, framed in the combo box's parent. The
// edit's frame surrounds the field it sits in: the whole combo box, drop
// button included, or a simple one's down to its list, whose top border
// then parts the two.
void PaintComboPart(HWND part, HWND combo)
{
    HWND parent = GetParent(combo);
    WindowDc dc(parent);
    if (!dc)
        return;
    SavedDc saved(dc);
    if (GetDlgCtrlID(part) == kComboListId) {
        RECT r = RectIn(part, parent);
        CoverClientEdge(dc, part, Kind::List, r);
        r.top += 1;
        SunkenFrame(dc, r, kEdgeAll & ~kEdgeTop);
        return;
    }
    RECT field = RectIn(combo, parent);
    UINT sides = kEdgeAll;
    HWND list = GetDlgItem(combo, kComboListId);
    if ((StyleOf(combo) & 3) == CBS_SIMPLE && list) {
        field.bottom = RectIn(list, parent).top + 1;
        sides &= ~kEdgeBottom;
    }
    SunkenFrame(dc, field, sides);
    CoverPlatformEdge(dc, field, GetSysColorBrush(COLOR_WINDOW));
}

void PaintBorder(HWND control, Kind kind)
{
    const LONG style = StyleOf(control);
    if (!(style & WS_VISIBLE))
        return;
    HWND parent = GetParent(control);
    const int id = GetDlgCtrlID(control);
    if ((id == kComboEditId || id == kComboListId) && IsComboBox(parent)) {
        PaintComboPart(control, parent);
        return;
    }
    WindowDc dc(parent);
    if (!dc)
        return;
    SavedDc saved(dc);
    const RECT r = RectIn(control, parent);
    if (kind == Kind::Combo && (style & 3) == CBS_DROPDOWNLIST) {
        SunkenFrame(dc, r, kEdgeAll);
        CoverPlatformEdge(dc, r, GetSysColorBrush(COLOR_WINDOW));
        const COLORREF frame = Lib.colours[kWindowFrame];
        FillColumn(dc, r.right - 1, r.top, r.bottom, frame);
        FillRow(dc, r.right - GetSystemMetrics(SM_CXVSCROLL), r.right, r.bottom - 1, frame);
        return;
    }
    PaintScrolledFrame(dc, r, style);
    CoverClientEdge(dc, control, kind, r);
}

// The border lies outside the control, so the parent redraws it with the
// control when the control moves or changes size.
void InvalidateBorder(HWND control, const WINDOWPOS* position)
{
    const LONG style = StyleOf(control);
    if (!(style & WS_VISIBLE))
        return;
    HWND parent = GetParent(control);
    RECT r = RectIn(control, parent);
    const int top = r.top;
    InflateRect(&r, 1, 1);
    if (style & WS_VSCROLL)
        r.right += 1;
    if (position && (position->flags & (SWP_NOMOVE | SWP_NOSIZE)) == SWP_NOMOVE &&
        position->cx == r.right - r.left - 2 - ((style & WS_VSCROLL) ? 1 : 0))
        r.top = top + position->cy - 1;
    InvalidateRect(parent, &r, FALSE);
}

LRESULT BorderedProc(Kind kind, ClassRow row, HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        return ForgetWindow(control, row, message, wParam, lParam);
    LRESULT result = CallWindowProcW(PreviousProcedure(control, row), control, message, wParam, lParam);
    if (!Lib.active)
        return result;
    switch (message) {
    case WM_PAINT:
        if (!(kind == Kind::Combo && (StyleOf(control) & 3) == CBS_SIMPLE)) {
            const bool caret = kind != Kind::List;
            if (caret)
                HideCaret(control);
            PaintBorder(control, kind);
            if (caret)
                ShowCaret(control);
        }
        break;
    case WM_SHOWWINDOW:
        if (Lib.version < kVersion310 && wParam == 0)
            InvalidateBorder(control, nullptr);
        break;
    case WM_WINDOWPOSCHANGED:
        if (Lib.version >= kVersion310)
            InvalidateBorder(control, reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_NCCALCSIZE:
        if (kind == Kind::List && Lib.version < kVersion310)
            InvalidateBorder(control, nullptr);
        break;
    default:
        break;
    }
    return result;
}

}  // namespace

namespace dlg3d {

LRESULT CALLBACK EditProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return BorderedProc(Kind::Edit, kEditRow, control, message, wParam, lParam);
}

LRESULT CALLBACK ComboProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    return BorderedProc(Kind::Combo, kComboRow, control, message, wParam, lParam);
}

LRESULT CALLBACK ListProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    wchar_t name[16];
    const bool comboList = GetClassNameW(control, name, ARRAYSIZE(name)) && wcscmp(name, L"ComboLBox") == 0;
    return BorderedProc(Kind::List, comboList ? kComboListRow : kListRow, control, message, wParam, lParam);
}

}  // namespace dlg3d
