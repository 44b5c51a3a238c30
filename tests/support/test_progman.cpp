#include "support/test_progman.h"

#include <dde.h>

#include <cstring>

namespace {

constexpr wchar_t kServerClass[] = L"TestProgmanServer";
constexpr wchar_t kTopic[] = L"PROGMAN";
constexpr UINT kAtomNameChars = 256;
// Private requests to the server's thread; the sender waits for each.
constexpr UINT kRequestTerminate = WM_APP + 1;
constexpr UINT kRequestVanish = WM_APP + 2;

bool AtomIs(ATOM atom, const std::wstring& name)
{
    wchar_t text[kAtomNameChars];
    return GlobalGetAtomNameW(atom, text, kAtomNameChars) && lstrcmpiW(text, name.c_str()) == 0;
}

}  // namespace

TestProgman::TestProgman(std::wstring application, Answer answer)
    : application_(std::move(application)), answer_(answer)
{
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread(&TestProgman::Run, this, ready);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

TestProgman::~TestProgman()
{
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

void TestProgman::Run(HANDLE ready)
{
    threadId_ = GetCurrentThreadId();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kServerClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kServerClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                              windowClass.hInstance, this);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetEvent(ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    if (IsWindow(window_))
        DestroyWindow(window_);
}

LRESULT CALLBACK TestProgman::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TestProgman*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DDE_INITIATE:
        return self->OnInitiate(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DDE_EXECUTE:
        self->OnExecute(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_DDE_TERMINATE:
        self->OnTerminate(reinterpret_cast<HWND>(wParam));
        return 0;
    case kRequestTerminate:
        self->terminating_ = true;
        PostMessageW(self->client_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
        return 0;
    case kRequestVanish:
        DestroyWindow(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT TestProgman::OnInitiate(HWND client, LPARAM lParam)
{
    if (!AtomIs(LOWORD(lParam), application_) || !AtomIs(HIWORD(lParam), kTopic))
        return 0;
    client_ = client;
    SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_),
                 MAKELPARAM(GlobalAddAtomW(application_.c_str()), GlobalAddAtomW(kTopic)));
    return 0;
}

void TestProgman::OnExecute(HWND client, LPARAM lParam)
{
    UINT_PTR unused = 0;
    UINT_PTR handle = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &handle);
    HGLOBAL block = reinterpret_cast<HGLOBAL>(handle);
    const void* data = GlobalLock(block);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        blocks_.emplace_back(static_cast<const char*>(data), GlobalSize(block));
    }
    GlobalUnlock(block);
    if (answer_ == Answer::kNever)
        return;
    const UINT_PTR status = answer_ == Answer::kPositive ? 0x8000 : 0;
    PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window_), PackDDElParam(WM_DDE_ACK, status, handle));
}

void TestProgman::OnTerminate(HWND client)
{
    int received;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        received = ++terminates_;
    }
    // A conversation the server did not end gets one terminate back.
    if (!terminating_ && received == 1)
        PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0);
}

void TestProgman::RunOnThread(UINT message)
{
    SendMessageW(window_, message, 0, 0);
}

void TestProgman::Terminate()
{
    RunOnThread(kRequestTerminate);
}

void TestProgman::Vanish()
{
    RunOnThread(kRequestVanish);
}

std::vector<std::string> TestProgman::Blocks()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return blocks_;
}

std::vector<std::wstring> TestProgman::WideCommands()
{
    std::vector<std::wstring> commands;
    for (const std::string& block : Blocks())
        commands.emplace_back(reinterpret_cast<const wchar_t*>(block.data()),
                              wcsnlen(reinterpret_cast<const wchar_t*>(block.data()), block.size() / 2));
    return commands;
}

std::vector<std::string> TestProgman::NarrowCommands()
{
    std::vector<std::string> commands;
    for (const std::string& block : Blocks())
        commands.emplace_back(block.c_str(), strnlen(block.c_str(), block.size()));
    return commands;
}

int TestProgman::TerminatesReceived()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return terminates_;
}

int TestProgman::WaitForTerminates(int count, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (TerminatesReceived() < count && GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
    return TerminatesReceived();
}
