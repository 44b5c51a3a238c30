// The frame: a maximised, captioned window whose only child is the client
// backdrop. It turns close and shutdown requests into cancel requests and
// runs the start routine it was given at its creation.
#include <initializer_list>

#include "dlg3d/dlg3d.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"

const wchar_t kFrameClass[] = L"TWInst_Frame";
const wchar_t kClientClass[] = L"TWInst_Client";
const wchar_t kInfoClass[] = L"TWInst_Info";
const wchar_t kPercentClass[] = L"TWInst_Percent";

namespace {

LRESULT OnCreate(HWND frame, const CREATESTRUCTW* create)
{
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    // Every modal dialog, from the language choice to the disk prompts of
    // any flow, is owned by the frame.
    FrameWindow = frame;
    DialogOwner = frame;
    ClientWindow = CreateWindowExW(0, kClientClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN,
                                   0, 0, 0, 0, frame, nullptr, Instance, nullptr);
    ShowWindow(ClientWindow, SW_SHOW);
    UpdateWindow(ClientWindow);
    return 0;
}

LRESULT OnSize(HWND frame)
{
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(ClientWindow, 0, 0, client.right, client.bottom, TRUE);
    return 0;
}

LRESULT OnSetFocus()
{
    if (PercentWindow)
        SetFocus(CancelButton);
    return 0;
}

LRESULT OnClose(HWND frame)
{
    CancelRequested = true;
    if (CheckCancel())
        DestroyWindow(frame);
    return 0;
}

LRESULT OnQueryEndSession(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The restart that the uninstall asked for is not questioned.
    if (RestartRequested)
        return TRUE;
    CancelRequested = true;
    if (CheckCancel())
        return DefWindowProcW(frame, message, wParam, lParam);
    return FALSE;
}

// Once this returns, the system may end the process at any moment: an
// install that can still undo its changes does so first.
LRESULT OnEndSession(bool ending)
{
    if (ending && SessionEndRoutine)
        SessionEndRoutine();
    return 0;
}

LRESULT OnSetupStart(HWND frame)
{
    auto start = reinterpret_cast<StartRoutine>(GetWindowLongPtrW(frame, GWLP_USERDATA));
    return start ? start(frame) : 0;
}

LRESULT OnDestroy()
{
    RequestProgramEnd(kExitCompleted);
    return 0;
}

void RealizeBillboardPalette()
{
    SendMessageW(ClientWindow, WM_SETUP_REALIZE_PALETTE, reinterpret_cast<WPARAM>(ClientWindow), 0);
}

LRESULT OnPaletteChange(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND changing = reinterpret_cast<HWND>(wParam);
    if (PaletteDisplay) {
        if (message == WM_QUERYNEWPALETTE)
            RealizeBillboardPalette();
        else if (changing != ClientWindow && message == WM_PALETTEISCHANGING)
            InvalidateRect(ClientWindow, nullptr, FALSE);
        else if (changing != ClientWindow && message == WM_PALETTECHANGED)
            RealizeBillboardPalette();
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_SIZE:
        return OnSize(window);
    case WM_SETFOCUS:
        return OnSetFocus();
    case WM_CLOSE:
        return OnClose(window);
    case WM_QUERYENDSESSION:
        return OnQueryEndSession(window, message, wParam, lParam);
    case WM_ENDSESSION:
        return OnEndSession(wParam != FALSE);
    case WM_DESTROY:
        return OnDestroy();
    case WM_QUERYNEWPALETTE:
    case WM_PALETTEISCHANGING:
    case WM_PALETTECHANGED:
        return OnPaletteChange(window, message, wParam, lParam);
    case WM_SYSCOLORCHANGE:
        ColorChange3d();
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETUP_START:
        return OnSetupStart(window);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterSetupClasses(HINSTANCE instance, HBRUSH backdrop)
{
    struct ClassRow {
        const wchar_t* name;
        WNDPROC procedure;
        HICON icon;
        HBRUSH background;
    };
    HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    const ClassRow rows[] = {
        {kFrameClass, FrameWindowProc, LoadIconW(instance, L"Install"), backdrop},
        {kClientClass, ClientWindowProc, nullptr, backdrop},
        {kInfoClass, InfoPanelProc, nullptr, grey},
        {kPercentClass, PercentPanelProc, nullptr, grey},
    };
    bool all = true;
    for (const ClassRow& row : rows) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = row.procedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = row.icon;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = row.background;
        windowClass.lpszClassName = row.name;
        all = RegisterClassW(&windowClass) != 0 && all;
    }
    return all;
}

void UnregisterSetupClasses(HINSTANCE instance)
{
    for (const wchar_t* name : {kFrameClass, kClientClass, kInfoClass, kPercentClass})
        UnregisterClassW(name, instance);
}

HWND CreateFrameWindow(HINSTANCE instance, StartRoutine start)
{
    FrameWindow = CreateWindowExW(0, kFrameClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                                  reinterpret_cast<void*>(start));
    return FrameWindow;
}
