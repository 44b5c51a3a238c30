#include "initiate_watch.h"

#include <dde.h>

#include <algorithm>

namespace {

const wchar_t kWatchClass[] = L"TWBench_InitiateWatch";

InitiateWatch* Watch;

}  // namespace

LRESULT CALLBACK InitiateWatch::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DDE_INITIATE:
        if (Watch)
            Watch->Note(reinterpret_cast<HWND>(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void InitiateWatch::Note(HWND client)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(client, &processId);
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(senders_.begin(), senders_.end(), processId) == senders_.end())
        senders_.push_back(processId);
}

void InitiateWatch::Run(HANDLE opened)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWatchClass;
    RegisterClassW(&windowClass);
    // Not WS_VISIBLE: it is never on the screen, where the bench reads the
    // backdrop, yet enumerated among the top-level windows. Topmost, it
    // comes before the other programs' windows, which are offered the
    // initiate in their z-order, so it sees the initiate start.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kWatchClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetEvent(opened);
    if (!window_)
        return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    DestroyWindow(window_);
}

bool InitiateWatch::Open()
{
    Watch = this;
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!opened)
        return false;
    thread_ = std::thread(&InitiateWatch::Run, this, opened);
    WaitForSingleObject(opened, INFINITE);
    CloseHandle(opened);
    return window_ != nullptr;
}

bool InitiateWatch::SeenFrom(DWORD processId)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(senders_.begin(), senders_.end(), processId) != senders_.end();
}

InitiateWatch::~InitiateWatch()
{
    if (thread_.joinable()) {
        if (window_)
            PostMessageW(window_, WM_QUIT, 0, 0);
        thread_.join();
    }
    Watch = nullptr;
}
