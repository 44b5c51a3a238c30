// The info panel: the program icon, a title line and a message that the
// running sequence changes as it goes.
#include <iterator>

#include "shell/drawing.h"
#include "shell/message_loop.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "shell/string_bank.h"

namespace {

wchar_t InfoTitle[120];
wchar_t InfoMessage[300];
UINT LastInfoId;
RECT TitleRect;
RECT MessageRect;

// A new panel starts empty, whatever an earlier one showed.
LRESULT OnCreate()
{
    InfoTitle[0] = 0;
    InfoMessage[0] = 0;
    LastInfoId = 0;
    return 0;
}

LRESULT OnSize(LPARAM lParam)
{
    int width = LOWORD(lParam);
    int height = HIWORD(lParam);
    SetRect(&TitleRect, 50, 10, width - 10, 52);
    SetRect(&MessageRect, 50, 62, width - 10, height - 10);
    return 0;
}

void PaintInfo(HWND panel, HDC dc)
{
    RECT r;
    GetClientRect(panel, &r);
    DrawRaisedBorder(dc, r);
    InflateRect(&r, -2, -2);
    DrawRaisedLine(dc, r);
    DrawIcon(dc, 10, 10, LoadIconW(Instance, L"Install"));

    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    r = TitleRect;
    DrawEtchedFrame(dc, r);
    InflateRect(&r, -2, -2);
    DrawRaisedLine(dc, r);
    InflateRect(&r, -3, -3);
    DrawEmbossedText(dc, InfoTitle, r, DT_CENTER | DT_WORDBREAK | DT_NOCLIP);

    r = MessageRect;
    DrawEtchedFrame(dc, r);
    InflateRect(&r, -5, -5);
    DrawEmbossedText(dc, InfoMessage, r, DT_LEFT | DT_WORDBREAK | DT_NOCLIP);
}

LRESULT OnPaint(HWND panel)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    PaintInfo(panel, dc);
    EndPaint(panel, &paint);
    return 0;
}

}  // namespace

void DragPanel(HWND panel, UINT message, LPARAM lParam)
{
    UINT forwarded = message == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN : WM_NCLBUTTONUP;
    DefWindowProcW(panel, forwarded, HTCAPTION, lParam);
}

LRESULT CALLBACK InfoPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        return OnSize(lParam);
    case WM_PAINT:
        return OnPaint(window);
    case WM_PRINTCLIENT:
        PaintInfo(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        DragPanel(window, message, lParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void SetInfoTitle(UINT id)
{
    LoadBankString(id, InfoTitle, std::size(InfoTitle));
}

void ShowInfoWindow(bool show)
{
    ShowWindow(InfoWindow, show ? SW_SHOWNORMAL : SW_HIDE);
    if (show)
        UpdateWindow(InfoWindow);
    PumpMessages();
}

bool SetInfoText(UINT id)
{
    if (id == LastInfoId)
        return true;
    LoadBankString(id, InfoMessage, std::size(InfoMessage));
    InvalidateRect(InfoWindow, &MessageRect, TRUE);
    PumpMessages();
    LastInfoId = id;
    return true;
}
