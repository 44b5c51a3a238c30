// The client backdrop: the billboard picture in the lower-left corner over a
// stretched colour (8-bit displays, through the picture's own palette) or a
// tiled pattern (other displays), and the layout of the two panels.
#include "res/resource_ids.h"
#include "shell/drawing.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"

namespace {

PackedDib BillboardDib;
PackedDib BackgroundDib;
HPALETTE BillboardPalette;

LRESULT OnCreate(HWND client)
{
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    InfoWindow = CreateWindowExW(0, kInfoClass, L"", style, 0, 0, 0, 0, client, nullptr, Instance, nullptr);
    PercentWindow = CreateWindowExW(0, kPercentClass, L"", style, 0, 0, 0, 0, client, nullptr, Instance, nullptr);
    return 0;
}

// The percent panel sits above the middle of the screen, the info panel
// below it; on screens taller than 450 pixels they touch at the middle.
void LayOutPanels(int width, int height)
{
    int infoTop = height - 225 < height / 2 ? height - 225 : height / 2;
    int percentTop = height / 2 - 174 > 10 ? height / 2 - 174 : 10;
    MoveWindow(InfoWindow, width / 2 - 170, infoTop, 340, 200, TRUE);
    MoveWindow(PercentWindow, width / 2 - 178, percentTop, 356, 174, TRUE);
}

LRESULT OnSize(HWND client, LPARAM lParam)
{
    InvalidateRect(client, nullptr, TRUE);
    UpdateWindow(client);
    LayOutPanels(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT OnActivate(HWND client, WPARAM wParam, LPARAM lParam)
{
    InvalidateRect(client, nullptr, TRUE);
    if (LOWORD(wParam) != WA_INACTIVE && PercentWindow) {
        SendMessageW(PercentWindow, WM_ACTIVATE, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(client, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnSetFocus(HWND client, WPARAM wParam, LPARAM lParam)
{
    if (PercentWindow) {
        SetFocus(CancelButton);
        return 0;
    }
    return DefWindowProcW(client, WM_SETFOCUS, wParam, lParam);
}

void PaintBackdrop(HWND client, HDC dc)
{
    RECT area;
    GetClientRect(client, &area);
    if (PaletteDisplay) {
        RECT whole = {0, 0, BackgroundDib.width, BackgroundDib.height};
        DrawDib(dc, area, BackgroundDib, whole, BillboardPalette);
        RECT picture = {0, 0, BillboardDib.width, BillboardDib.height};
        RECT corner = {0, area.bottom - BillboardDib.height, BillboardDib.width, area.bottom};
        DrawDib(dc, corner, BillboardDib, picture, BillboardPalette);
        return;
    }
    if (BackgroundDib.info) {
        HBRUSH pattern = CreateDIBPatternBrushPt(BackgroundDib.info, DIB_RGB_COLORS);
        if (pattern) {
            FillRect(dc, &area, pattern);
            DeleteObject(pattern);
        }
    }
    SIZE size = GetBitmapSize(IDB_BILLBOARD_16);
    DrawBitmap(IDB_BILLBOARD_16, 0, area.bottom - size.cy, 0, 0, dc);
}

LRESULT OnPaint(HWND client)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(client, &paint);
    PaintBackdrop(client, dc);
    EndPaint(client, &paint);
    return 0;
}

LRESULT OnRealizePalette(HWND client, WPARAM wParam, LPARAM lParam)
{
    if (PaletteDisplay && BillboardPalette) {
        HDC dc = GetDC(FrameWindow);
        HPALETTE previous = SelectPalette(dc, BillboardPalette, FALSE);
        UINT mapped = RealizePalette(dc);
        SelectPalette(dc, previous, FALSE);
        ReleaseDC(FrameWindow, dc);
        if (mapped)
            InvalidateRect(client, nullptr, TRUE);
    }
    return DefWindowProcW(client, WM_SETUP_REALIZE_PALETTE, wParam, lParam);
}

}  // namespace

void LoadBillboards()
{
    if (PaletteDisplay) {
        BillboardDib = LoadPackedDib(IDB_BILLBOARD_256);
        BackgroundDib = LoadPackedDib(IDB_BACKGROUND_256);
        if (BillboardPalette)
            DeleteObject(BillboardPalette);
        BillboardPalette = CreateDibPalette(BillboardDib);
    } else {
        BillboardDib = LoadPackedDib(IDB_BILLBOARD_16);
        BackgroundDib = LoadPackedDib(IDB_PATTERN_16);
    }
}

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        return OnSize(window, lParam);
    case WM_ACTIVATE:
        return OnActivate(window, wParam, lParam);
    case WM_SETFOCUS:
        return OnSetFocus(window, wParam, lParam);
    case WM_PAINT:
        return OnPaint(window);
    case WM_PRINTCLIENT:
        PaintBackdrop(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETUP_REALIZE_PALETTE:
        return OnRealizePalette(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
