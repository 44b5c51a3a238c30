// reference_install SHARE OUT
//
// (SHARE and OUT are folders whose names end in a backslash.)
// The floor for a program that owns a window and drains its queue as setup
// is designed to: it opens one maximised window with setup's backdrop
// colour, shows a small panel while it copies, expands every file of the
// share into OUT with LZRead in 8192-byte blocks, writes each block, drains
// the queue by setup's rule (drain_rule.h), closes the window and ends.
// Exit code 0 when every file was written whole, 1 otherwise.
#include <windows.h>

#include <string>
#include <vector>

#include "drain_rule.h"
#include "bench_clock.h"
#include "payload_io.h"

namespace {

const wchar_t kReferenceClass[] = L"TWBench_Reference";
// A small child shown while the files are copied, as setup shows its
// percent panel: the bench counts replies only while it is up.
const wchar_t kCopyingClass[] = L"TWBench_Copying";

class Drainer {
public:
    void Drain()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        last_ = Now();
    }
    void AfterBlock(bool edge)
    {
        if (edge || Now() - last_ >= kDrainIntervalSeconds)
            Drain();
    }

private:
    double last_ = 0;
};

LRESULT OnDestroy()
{
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK ReferenceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        return OnDestroy();
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND OpenWindow(HINSTANCE instance, HBRUSH backdrop)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReferenceWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = backdrop;
    windowClass.lpszClassName = kReferenceClass;
    if (!RegisterClassW(&windowClass))
        return nullptr;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = kCopyingClass;
    if (!RegisterClassW(&windowClass))
        return nullptr;
    HWND window = CreateWindowW(kReferenceClass, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window) {
        ShowWindow(window, SW_SHOWMAXIMIZED);
        UpdateWindow(window);
    }
    return window;
}

HWND ShowCopying(HWND window, HINSTANCE instance)
{
    HWND panel = CreateWindowW(kCopyingClass, L"", WS_CHILD, 0, 0, 40, 20, window, nullptr, instance, nullptr);
    if (panel) {
        ShowWindow(panel, SW_SHOW);
        UpdateWindow(panel);
    }
    return panel;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (__argc < 3)
        return 2;
    const std::wstring share = __wargv[1];
    const std::wstring out = __wargv[2];
    HBRUSH backdrop = CreateSolidBrush(RGB(0, 0, 64));
    HWND window = OpenWindow(instance, backdrop);
    bool whole = window != nullptr;
    Drainer drainer;
    drainer.Drain();
    CreateDirectoryW(out.c_str(), nullptr);
    HWND copying = window ? ShowCopying(window, instance) : nullptr;
    std::vector<char> buffer(kBlockBytes);
    ULONGLONG bytes = 0;
    for (const std::wstring& name : ShareFiles(share))
        whole = ExpandFile(share + name, out + name, buffer, [&drainer](bool edge) { drainer.AfterBlock(edge); },
                           &bytes) &&
                whole;
    if (copying)
        ShowWindow(copying, SW_HIDE);
    if (window)
        DestroyWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    DeleteObject(backdrop);
    return whole ? 0 : 1;
}
