// Static texts on the parent's colours, and black, grey and white frames as
// sunken, etched and raised boxes.
#include "dlg3d/library_state.h"

using namespace dlg3d;

namespace {

void PaintText(HWND control, HDC dc, const RECT& client, LONG style)
{
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(control)));
    FillRect(dc, &client, brush ? brush : Lib.faceBrush);
    wchar_t text[513];
    const int length = GetWindowTextW(control, text, ARRAYSIZE(text));
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)))
        SelectObject(dc, font);
    UINT format = DT_NOCLIP | DT_EXPANDTABS;
    switch (style & 0x0F) {
    case SS_LEFT:
        format |= DT_WORDBREAK | DT_LEFT;
        break;
    case SS_CENTER:
        format |= DT_WORDBREAK | DT_CENTER;
        break;
    case SS_RIGHT:
        format |= DT_WORDBREAK | DT_RIGHT;
        break;
    default:
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (!IsWindowEnabled(control))
        SetTextColor(dc, Lib.colours[kGrayText]);
    SetBkMode(dc, TRANSPARENT);
    RECT area = client;
    DrawTextW(dc, text, length, &area, format);
}

void PaintStatic(HWND control, HDC dc)
{
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (!(style & WS_VISIBLE))
        return;
    RECT client;
    GetClientRect(control, &client);
    SavedDc saved(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    const COLORREF* c = Lib.colours;
    switch (style & 0x0F) {
    case SS_BLACKRECT:
    case SS_BLACKFRAME:
        PaintEdges(dc, client, c[kShadow], c[kHighlight]);
        break;
    case SS_GRAYRECT:
    case SS_GRAYFRAME: {
        const RECT light = {client.left + 1, client.top + 1, client.right, client.bottom};
        const RECT dark = {client.left, client.top, client.right - 1, client.bottom - 1};
        PaintEdges(dc, light, c[kHighlight], c[kHighlight]);
        PaintEdges(dc, dark, c[kShadow], c[kShadow]);
        break;
    }
    case SS_WHITERECT:
    case SS_WHITEFRAME:
        PaintEdges(dc, client, c[kHighlight], c[kShadow]);
        break;
    default:
        PaintText(control, dc, client, style);
        break;
    }
}

LRESULT OnPaint(HWND control, WPARAM wParam)
{
    if (wParam) {
        PaintStatic(control, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT paint;
    if (HDC dc = BeginPaint(control, &paint))
        PaintStatic(control, dc);
    EndPaint(control, &paint);
    return 0;
}

}  // namespace

namespace dlg3d {

LRESULT CALLBACK StaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        return ForgetWindow(control, kStaticRow, message, wParam, lParam);
    if (Lib.active && message == WM_PAINT)
        return OnPaint(control, wParam);
    LRESULT result = CallWindowProcW(PreviousProcedure(control, kStaticRow), control, message, wParam, lParam);
    if (Lib.active && message == WM_ENABLE) {
        WindowDc dc(control);
        if (dc)
            PaintStatic(control, dc);
    }
    return result;
}

}  // namespace dlg3d
