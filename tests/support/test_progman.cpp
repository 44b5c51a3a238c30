#include "support/test_progman.h"

#include <dde.h>

#include "shell/message_loop.h"

namespace support {

namespace {

constexpr wchar_t kTopic[] = L"PROGMAN";
constexpr UINT_PTR kAckTimer = 1;

bool AtomIs(ATOM atom, const std::wstring& name)
{
    wchar_t text[256];
    return GlobalGetAtomNameW(atom, text, ARRAYSIZE(text)) && lstrcmpiW(text, name.c_str()) == 0;
}

void OnInitiate(TestProgman* server, HWND client, LPARAM lParam)
{
    if (!AtomIs(LOWORD(lParam), server->application) || !AtomIs(HIWORD(lParam), kTopic))
        return;
    server->client = client;
    server->clientParent = GetAncestor(client, GA_PARENT);
    SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server->window),
                 MAKELPARAM(GlobalAddAtomW(server->application.c_str()), GlobalAddAtomW(kTopic)));
}

void OnExecute(TestProgman* server, LPARAM lParam)
{
    UINT_PTR unused = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &server->lastBlock);
    HGLOBAL block = reinterpret_cast<HGLOBAL>(server->lastBlock);
    server->blocks.emplace_back(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
    GlobalUnlock(block);
    if (server->answer != TestProgman::Answer::kNever)
        SetTimer(server->window, kAckTimer, server->ackDelayMs, nullptr);
}

void OnAckTimer(TestProgman* server)
{
    KillTimer(server->window, kAckTimer);
    if (server->answer == TestProgman::Answer::kGone) {
        DestroyWindow(server->window);
        return;
    }
    const UINT_PTR status = server->answer == TestProgman::Answer::kPositive ? 0x8000 : 0;
    PostMessageW(server->client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server->window),
                 PackDDElParam(WM_DDE_ACK, status, server->lastBlock));
}

LRESULT CALLBACK ServerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* server = reinterpret_cast<TestProgman*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (server ? message : WM_NULL) {
    case WM_DDE_INITIATE:
        OnInitiate(server, reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_DDE_EXECUTE:
        OnExecute(server, lParam);
        return 0;
    case WM_TIMER:
        OnAckTimer(server);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

TestProgman::TestProgman(std::wstring application, Answer answer, UINT ackDelayMs)
    : application(std::move(application)), answer(answer), ackDelayMs(ackDelayMs)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ServerWndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TestProgmanServer";
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                             nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

std::vector<std::wstring> TestProgman::WideCommands() const
{
    std::vector<std::wstring> commands;
    for (const std::string& block : blocks)
        commands.emplace_back(reinterpret_cast<const wchar_t*>(block.c_str()));
    return commands;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        WaitPumping(kDrainIntervalMs);
    }
    return true;
}

}  // namespace support
