// Buttons with the look: bevelled push buttons, glyphs for check boxes,
// radio buttons and 3-state boxes, etched group boxes. The system's button
// procedure keeps the state and the notifications; its drawing is held back
// while this one paints.
#include <algorithm>
#include <initializer_list>

#include "dlg3d/library_state.h"
#include "dlg3d/text_measure.h"

using namespace dlg3d;

namespace {

// What a paint covers.
constexpr UINT kPaintText = 0x02;
constexpr UINT kPaintGlyph = 0x04;
constexpr UINT kPaintFocus = 0x08;
constexpr UINT kPaintErase = 0x10;
constexpr UINT kPaintCaptionOnly = 0x20;

constexpr int kTextLeft = 18;       // check box text, right of the glyph
constexpr int kCaptionLeft = 4;     // group box caption
constexpr int kPressedInset = 3;    // a pressed text stays this far inside

struct ButtonPaint {
    HWND button;
    HDC dc;
    RECT client;
    LONG type;
    UINT state;
    bool enabled;
    wchar_t text[256];
};

COLORREF TextColour(const ButtonPaint& p)
{
    return p.enabled ? GetTextColor(p.dc) : Lib.colours[kGrayText];
}

void FocusAround(HDC dc, RECT text, const RECT& clip)
{
    InflateRect(&text, 1, 1);
    IntersectRect(&text, &text, &clip);
    DrawFocusRect(dc, &text);
}

void PaintPushButton(const ButtonPaint& p, HBRUSH parentBrush, UINT bits)
{
    const COLORREF frame = Lib.colours[kWindowFrame];
    RECT r = p.client;
    PaintEdges(p.dc, r, frame, frame);
    if (p.type == BS_DEFPUSHBUTTON && p.enabled) {
        InflateRect(&r, -1, -1);
        PaintEdges(p.dc, r, frame, frame);
    }
    SelectObject(p.dc, parentBrush);
    const int w = p.client.right, h = p.client.bottom;
    for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
        PatBlt(p.dc, corner.x, corner.y, 1, 1, PATCOPY);

    const bool pushed = (p.state & BST_PUSHED) != 0;
    InflateRect(&r, -1, -1);
    if (pushed) {
        PaintEdges(p.dc, r, Lib.colours[kShadow], Lib.colours[kShadow], kEdgeTop | kEdgeLeft);
        r.left += 1;
        r.top += 1;
    } else {
        for (int line = 0; line < 2; ++line) {
            PaintEdges(p.dc, r, Lib.colours[kHighlight], Lib.colours[kShadow]);
            InflateRect(&r, -1, -1);
        }
    }
    FillRect(p.dc, &r, Lib.faceBrush);

    const SIZE size = MeasureControlText(p.dc, p.text);
    const RECT inside = {kPressedInset, kPressedInset, w - kPressedInset, h - kPressedInset};
    RECT text = {(w - size.cx) / 2, (h - size.cy) / 2, 0, 0};
    if (pushed) {
        text.left = std::min(text.left + 1, std::max<LONG>(inside.right - size.cx, inside.left));
        text.top = std::min(text.top + 1, std::max<LONG>(inside.bottom - size.cy, inside.top));
    }
    text.right = text.left + size.cx;
    text.bottom = text.top + size.cy;
    SetBkColor(p.dc, Lib.colours[kFace]);
    SetTextColor(p.dc, TextColour(p));
    SetBkMode(p.dc, TRANSPARENT);
    RECT drawn = text;
    DrawTextW(p.dc, p.text, -1, &drawn, DT_SINGLELINE | DT_NOCLIP);
    if ((bits & kPaintFocus) && (p.state & BST_FOCUS))
        FocusAround(p.dc, text, r);
}

int GlyphColumn(const ButtonPaint& p)
{
    const bool checked = (p.state & 3) != 0;
    // A disabled glyph does not show the pushed state: the columns end at
    // disabled and checked.
    if (!p.enabled)
        return checked ? 4 * kGlyphWidth : 2 * kGlyphWidth;
    return kGlyphWidth * (((p.state & BST_PUSHED) ? 2 : 0) + (checked ? 1 : 0));
}

int GlyphRow(const ButtonPaint& p)
{
    if (p.type == BS_RADIOBUTTON || p.type == BS_AUTORADIOBUTTON)
        return kGlyphHeight;
    return (p.state & 3) == BST_INDETERMINATE ? 2 * kGlyphHeight : 0;
}

void PaintCheckButton(const ButtonPaint& p, HBRUSH parentBrush, UINT bits)
{
    if (bits & kPaintGlyph) {
        HDC memory = CreateCompatibleDC(p.dc);
        if (memory) {
            HGDIOBJ previous = SelectObject(memory, Lib.glyphs);
            BitBlt(p.dc, 0, (p.client.bottom - kGlyphHeight) / 2, kGlyphWidth, kGlyphHeight, memory,
                   GlyphColumn(p), GlyphRow(p), SRCCOPY);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
    }
    RECT text = {};
    if (bits & kPaintFocus) {
        const SIZE size = MeasureControlText(p.dc, p.text);
        const int top = (p.client.bottom - size.cy) / 2;
        text = {kTextLeft, top, kTextLeft + size.cx, top + size.cy};
        // The rectangle was drawn inverting: a paint of nothing would leave
        // it, so its place is painted over and the text drawn again.
        if (!(p.state & BST_FOCUS)) {
            RECT focus = text;
            InflateRect(&focus, 1, 1);
            IntersectRect(&focus, &focus, &p.client);
            FillRect(p.dc, &focus, parentBrush);
            bits |= kPaintText;
        }
    }
    RECT line = {kTextLeft, 0, p.client.right, p.client.bottom};
    if (bits & kPaintText) {
        SetTextColor(p.dc, TextColour(p));
        DrawTextW(p.dc, p.text, -1, &line, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    if ((bits & kPaintFocus) && (p.state & BST_FOCUS))
        FocusAround(p.dc, text, p.client);
}

void PaintGroupBox(const ButtonPaint& p, HBRUSH parentBrush, UINT bits)
{
    const SIZE size = MeasureControlText(p.dc, p.text[0] ? p.text : L"X");
    RECT caption = {kCaptionLeft, 0, kCaptionLeft + (p.text[0] ? size.cx : 0) + 4, size.cy};
    if (bits & kPaintCaptionOnly) {
        HWND parent = GetParent(p.button);
        MapWindowPoints(p.button, parent, reinterpret_cast<POINT*>(&caption), 2);
        InvalidateRect(parent, &caption, TRUE);
        return;
    }
    RECT frame = p.client;
    frame.top = size.cy / 2;
    const RECT shadow = {frame.left, frame.top, frame.right - 1, frame.bottom - 1};
    const RECT light = {frame.left + 1, frame.top + 1, frame.right, frame.bottom};
    PaintEdges(p.dc, shadow, Lib.colours[kShadow], Lib.colours[kShadow]);
    PaintEdges(p.dc, light, Lib.colours[kHighlight], Lib.colours[kHighlight]);
    if (!p.text[0])
        return;
    FillRect(p.dc, &caption, parentBrush);
    SetTextColor(p.dc, TextColour(p));
    DrawTextW(p.dc, p.text, -1, &caption, DT_SINGLELINE | DT_CENTER);
}

void PaintButton(HWND button, HDC dc, UINT bits)
{
    ButtonPaint p = {};
    p.button = button;
    p.dc = dc;
    p.type = GetWindowLongW(button, GWL_STYLE) & 0x0F;
    p.state = static_cast<UINT>(SendMessageW(button, BM_GETSTATE, 0, 0));
    p.enabled = IsWindowEnabled(button) != FALSE;
    GetClientRect(button, &p.client);
    GetWindowTextW(button, p.text, ARRAYSIZE(p.text));

    SavedDc saved(dc);
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)))
        SelectObject(dc, font);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(button), WM_CTLCOLORBTN,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(button)));
    if (!brush)
        brush = Lib.faceBrush;
    SelectObject(dc, brush);
    SetBkMode(dc, OPAQUE);
    IntersectClipRect(dc, p.client.left, p.client.top, p.client.right, p.client.bottom);
    if ((bits & kPaintErase) && p.type != BS_GROUPBOX)
        FillRect(dc, &p.client, brush);

    switch (p.type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        PaintPushButton(p, brush, bits);
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        PaintCheckButton(p, brush, bits);
        break;
    case BS_GROUPBOX:
        PaintGroupBox(p, brush, bits);
        break;
    default:
        break;
    }
}

UINT StateOf(HWND button)
{
    return static_cast<UINT>(SendMessageW(button, BM_GETSTATE, 0, 0));
}

LRESULT OnPaint(HWND button, WPARAM wParam)
{
    const UINT bits = (StateOf(button) & BST_FOCUS ? kPaintFocus : 0) | kPaintGlyph | kPaintText;
    if (wParam) {
        PaintButton(button, reinterpret_cast<HDC>(wParam), bits);
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(button, &paint);
    if (dc)
        PaintButton(button, dc, bits);
    EndPaint(button, &paint);
    return 0;
}

// The system's procedure handles the message with the button hidden, so it
// draws nothing; then the parts that changed are painted here.
LRESULT HandleQuietly(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT bits)
{
    WNDPROC previous = PreviousProcedure(button, kButtonRow);
    const UINT before = StateOf(button);
    SetWindowLongW(button, GWL_STYLE, GetWindowLongW(button, GWL_STYLE) & ~WS_VISIBLE);
    LRESULT result = CallWindowProcW(previous, button, message, wParam, lParam);
    SetWindowLongW(button, GWL_STYLE, GetWindowLongW(button, GWL_STYLE) | WS_VISIBLE);
    const UINT after = StateOf(button);
    if ((message == BM_SETCHECK || message == BM_SETSTATE) && before == after)
        return result;
    if ((before ^ after) & 3)
        bits |= kPaintGlyph;
    if ((before ^ after) & BST_FOCUS)
        bits |= kPaintFocus;

    WindowDc dc(button);
    if (dc) {
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        if (update && GetUpdateRgn(button, update, FALSE) > NULLREGION)
            ExtSelectClipRgn(dc, update, RGN_DIFF);
        if (update)
            DeleteObject(update);
        PaintButton(button, dc, bits);
    }
    return result;
}

}  // namespace

namespace dlg3d {

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY)
        return ForgetWindow(button, kButtonRow, message, wParam, lParam);
    if (!Lib.active || !(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE))
        return CallWindowProcW(PreviousProcedure(button, kButtonRow), button, message, wParam, lParam);
    const bool groupBox = (GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
    switch (message) {
    case WM_PAINT:
        return OnPaint(button, wParam);
    case WM_SETFOCUS:
        return HandleQuietly(button, message, wParam, lParam,
                             wParam ? kPaintGlyph | kPaintText : kPaintErase | kPaintGlyph | kPaintText);
    case WM_KILLFOCUS:
        if ((GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_AUTORADIOBUTTON)
            SendMessageW(button, BM_SETSTATE, 0, 0);
        return HandleQuietly(button, message, wParam, lParam, 0);
    case WM_ENABLE:
        return HandleQuietly(button, message, wParam, lParam, kPaintGlyph | kPaintText);
    case WM_SETTEXT:
        return HandleQuietly(button, message, wParam, lParam,
                             groupBox ? kPaintCaptionOnly | kPaintText : kPaintErase | kPaintGlyph | kPaintText);
    case BM_SETCHECK:
    case BM_SETSTATE:
        return HandleQuietly(button, message, wParam, lParam, kPaintGlyph);
    default:
        return CallWindowProcW(PreviousProcedure(button, kButtonRow), button, message, wParam, lParam);
    }
}

}  // namespace dlg3d
