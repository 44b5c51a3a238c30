// The percent panel: the action line, the percent gauge and the button that
// cancels the running sequence, or ends the program once it is done.
#include <iterator>

#include "res/resource_ids.h"
#include "shell/drawing.h"
#include "shell/message_loop.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "shell/string_bank.h"

namespace {

wchar_t ActionText[100];
int GaugeValue;
RECT GaugeRect;
RECT ActionRect;
WNDPROC ButtonProcedure;

// Enter and Escape press the focused button as the space bar does.
LRESULT CALLBACK CancelButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        wParam = VK_SPACE;
    return CallWindowProcW(ButtonProcedure, button, message, wParam, lParam);
}

LRESULT OnCreate(HWND panel)
{
    ActionText[0] = 0;
    GaugeValue = 0;
    CancelButton = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                   0, 0, 0, 0, panel, nullptr, Instance, nullptr);
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(CancelButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CancelButtonProc)));
    if (!ButtonProcedure)
        ButtonProcedure = previous;
    ShowWindow(CancelButton, SW_SHOW);
    UpdateWindow(CancelButton);
    return 0;
}

LRESULT OnSize(LPARAM lParam)
{
    int width = LOWORD(lParam);
    int height = HIWORD(lParam);
    SetRect(&ActionRect, width / 2 - 150, 10, width / 2 + 150, 50);
    SetRect(&GaugeRect, width / 2 - 150, 60, width / 2 + 150, 88);
    MoveWindow(CancelButton, width / 2 - 50, height - 33, 100, 27, TRUE);
    return 0;
}

void PaintGauge(HDC dc)
{
    int filled = 3 * GaugeValue;
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, GaugeRect.left + filled, GaugeRect.top, GaugeRect.right + 1, GaugeRect.bottom + 1);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    if (filled > 0)
        DrawBitmap(IDB_GAUGE_FILL, GaugeRect.left, GaugeRect.top, filled, GaugeRect.bottom - GaugeRect.top, dc);

    wchar_t percent[16];
    wsprintfW(percent, L"%u%%", GaugeValue);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    RECT shadow = GaugeRect;
    shadow.left += 4;
    shadow.top += 5;
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, percent, -1, &shadow, format);
    RECT text = GaugeRect;
    SetTextColor(dc, RGB(255, 255, 0));
    DrawTextW(dc, percent, -1, &text, format);

    RECT frame = GaugeRect;
    InflateRect(&frame, 1, 1);
    DrawSunkenLine(dc, frame);
    InflateRect(&frame, 1, 1);
    DrawSunkenLine(dc, frame);
    InflateRect(&frame, 4, 4);
    DrawEtchedFrame(dc, frame);
}

void PaintPercent(HWND panel, HDC dc)
{
    RECT r;
    GetClientRect(panel, &r);
    if (!IsWindowVisible(panel) || IsRectEmpty(&r))
        return;
    DrawRaisedBorder(dc, r);
    InflateRect(&r, -2, -2);
    DrawRaisedLine(dc, r);
    RECT inner;
    GetClientRect(panel, &inner);
    SetRect(&inner, 10, 10, inner.right - 10, inner.bottom - 40);
    DrawSunkenLine(dc, inner);

    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawEmbossedText(dc, ActionText, ActionRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    PaintGauge(dc);
}

LRESULT OnPaint(HWND panel)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    PaintPercent(panel, dc);
    EndPaint(panel, &paint);
    return 0;
}

LRESULT OnActivate(HWND panel, WPARAM wParam, LPARAM lParam)
{
    SendMessageW(CancelButton, WM_CHILDACTIVATE, 0, 0);
    return DefWindowProcW(panel, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnCommand(HWND panel, WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) != CancelButton || HIWORD(wParam) != BN_CLICKED)
        return DefWindowProcW(panel, WM_COMMAND, wParam, lParam);
    if (!SequenceDone) {
        // The running sequence sees the request at its next CheckCancel.
        CancelRequested = true;
        CancelPressed = true;
    } else {
        RequestProgramEnd(kExitCompleted);
    }
    return DefWindowProcW(panel, WM_COMMAND, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK PercentPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        return OnSize(lParam);
    case WM_ACTIVATE:
        return OnActivate(window, wParam, lParam);
    case WM_SETFOCUS:
        SetFocus(CancelButton);
        return 0;
    case WM_PAINT:
        return OnPaint(window);
    case WM_PRINTCLIENT:
        PaintPercent(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_CLOSE:
        PostMessageW(FrameWindow, WM_CLOSE, 0, 0);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        DragPanel(window, message, lParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void ShowPercentWindow(bool show)
{
    if (show) {
        GaugeValue = 0;
        ShowWindow(PercentWindow, SW_SHOWNORMAL);
        UpdateWindow(PercentWindow);
    } else {
        ShowWindow(PercentWindow, SW_HIDE);
    }
    PumpMessages();
}

bool SetPercent(int value)
{
    if (value >= 0 && value <= 100) {
        GaugeValue = value;
        InvalidateRect(PercentWindow, &GaugeRect, FALSE);
    } else {
        GaugeValue = 100;
    }
    PumpMessages();
    return true;
}

bool SetActionText(UINT id)
{
    LoadBankString(id, ActionText, std::size(ActionText));
    InvalidateRect(PercentWindow, &ActionRect, TRUE);
    PumpMessages();
    return true;
}
