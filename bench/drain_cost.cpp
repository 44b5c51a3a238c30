#include "drain_cost.h"

#include <windows.h>

#include "bench_clock.h"

namespace {

const wchar_t kDrainClass[] = L"TWBench_Drain";

void Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND OpenWindow()
{
    static const bool registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kDrainClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    if (!registered)
        return nullptr;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kDrainClass, L"", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

}  // namespace

double DrainMicroseconds(int drains)
{
    HWND window = OpenWindow();
    if (!window)
        return 0;
    Drain();
    double start = Now();
    for (int i = 0; i < drains; ++i)
        Drain();
    double microseconds = (Now() - start) * 1e6 / drains;
    DestroyWindow(window);
    Drain();
    return microseconds;
}
