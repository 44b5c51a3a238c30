#include "progman/dde_client.h"

#include <dde.h>

#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "progman/oem437.h"
#include "registry/environment_probes.h"
#include "shell/hooks.h"
#include "shell/message_loop.h"
#include "shell/setup_state.h"

namespace {

constexpr wchar_t kClientClass[] = L"ddeclient";
constexpr wchar_t kTopic[] = L"PROGMAN";
constexpr int kLastUnicodeLessBuild = 528;
constexpr char kUnconvertible = '_';
constexpr UINT kAtomNameChars = 256;

// The one conversation: this unit's own state, read by no other. Each field
// starts as declared here; closing the conversation (or failing to open
// it) gives them all their start values again.
struct Conversation {
    HINSTANCE instance = nullptr;
    HWND client = nullptr;
    HWND server = nullptr;
    // Commands go as UTF-16 text on Windows NT builds after 528, as code
    // page 437 bytes on 528 and earlier.
    bool unicode = true;
    bool initiating = false;
    // Servers sent a terminate whose own terminate, the reply, is still due:
    // that reply is not answered again.
    std::vector<HWND> ending;
    // The acknowledgement of the command in flight, recorded by the window
    // procedure.
    bool ackArrived = false;
    bool ackPositive = false;
};
Conversation Dde;

bool AtomIs(ATOM atom, const wchar_t* name)
{
    wchar_t text[kAtomNameChars];
    return GlobalGetAtomNameW(atom, text, kAtomNameChars) && lstrcmpiW(text, name) == 0;
}

void PostTerminate(HWND server)
{
    PostMessageW(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(Dde.client), 0);
}

void EndConversation(HWND server)
{
    PostTerminate(server);
    Dde.ending.push_back(server);
}

// An answer to the initiate. The atoms are the answering server's, ours to
// delete. A later matching answer replaces an earlier one; every
// conversation not kept is ended at once.
void OnInitiateAck(HWND server, LPARAM lParam)
{
    const ATOM application = LOWORD(lParam);
    const ATOM topic = HIWORD(lParam);
    const bool matches = AtomIs(application, ProgmanApplication) && AtomIs(topic, kTopic);
    GlobalDeleteAtom(application);
    GlobalDeleteAtom(topic);
    if (!matches) {
        EndConversation(server);
        return;
    }
    if (Dde.server && Dde.server != server)
        EndConversation(Dde.server);
    Dde.server = server;
}

void OnCommandAck(HWND server, LPARAM lParam)
{
    UINT_PTR status = 0;
    UINT_PTR data = 0;
    UnpackDDElParam(WM_DDE_ACK, lParam, &status, &data);
    FreeDDElParam(WM_DDE_ACK, lParam);
    if (server != Dde.server)
        return;
    Dde.ackArrived = true;
    Dde.ackPositive = (status & 0x8000) != 0;
}

// The server ends the conversation, or replies to our end of it. Its own
// end gets one terminate back, and no further command goes to it.
void OnTerminate(HWND server)
{
    const auto ending = std::find(Dde.ending.begin(), Dde.ending.end(), server);
    if (ending != Dde.ending.end())
        Dde.ending.erase(ending);
    else if (IsWindow(Dde.client))
        PostTerminate(server);
    if (server == Dde.server)
        Dde.server = nullptr;
}

LRESULT CALLBACK DdeClientWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DDE_ACK:
        if (Dde.initiating)
            OnInitiateAck(reinterpret_cast<HWND>(wParam), lParam);
        else
            OnCommandAck(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_DDE_TERMINATE:
        OnTerminate(reinterpret_cast<HWND>(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RemoveClientWindow()
{
    if (Dde.client)
        DestroyWindow(Dde.client);
    UnregisterClassW(kClientClass, Dde.instance);
    Dde = Conversation{};
}

// The command as the server reads it: UTF-16 or code page 437 bytes, with
// its terminator. Empty when the 8-bit form does not fit.
std::string CommandBytes(const wchar_t* command)
{
    if (Dde.unicode) {
        const size_t bytes = (wcslen(command) + 1) * sizeof(wchar_t);
        return std::string(reinterpret_cast<const char*>(command), bytes);
    }
    std::string text = WideToOem437(command, kUnconvertible);
    text.push_back(0);
    if (text.size() > kMaxOemCommandBytes)
        return std::string();
    return text;
}

HGLOBAL CopyToShared(const std::string& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size());
    if (!block)
        return nullptr;
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

// The initiate, sent to every top-level window as a broadcast would be, but
// bounded: a broadcast waits for as long as any window of any program does
// not take it. Answers reach the client window while each send waits.
void SendInitiate(LPARAM atoms)
{
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<DWORD> passedOver;
    for (HWND window : windows) {
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        if (window == Dde.client || !thread ||
            std::find(passedOver.begin(), passedOver.end(), thread) != passedOver.end())
            continue;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(Dde.client), atoms,
                                 SMTO_ABORTIFHUNG, kDdeInitiateWindowMs, &result) &&
            IsWindow(window))
            passedOver.push_back(thread);
    }
}

enum class AckWait { kArrived, kTimedOut, kServerGone, kClientGone };

// Waits for the acknowledgement with the windows alive: the window
// procedure records it when the pump hands it over.
AckWait WaitForAck()
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (Dde.ackArrived)
            return AckWait::kArrived;
        if (!Dde.server || !IsWindow(Dde.server))
            return AckWait::kServerGone;
        // The client goes with the setup window when that is closed.
        if (!IsWindow(Dde.client))
            return AckWait::kClientGone;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= DdeAckTimeoutMs)
            return AckWait::kTimedOut;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DdeAckTimeoutMs - elapsed, QS_ALLINPUT);
    }
}

}  // namespace

bool DdeClientOpen(HINSTANCE instance)
{
    Dde.instance = instance;
    Dde.unicode = GetNtBuildNumber() > kLastUnicodeLessBuild;

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DdeClientWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClientClass;
    if (!RegisterClassW(&windowClass))
        return false;
    // A hidden child of the setup window where there is one: destroying a
    // top-level window makes the system visit every other top-level window
    // for ones it owns, about 0.1 s with the window held once Program
    // Manager has opened its group windows; a child goes at once.
    Dde.client = FrameWindow ? CreateWindowExW(WS_EX_NOPARENTNOTIFY, kClientClass, L"", WS_CHILD, 0, 0, 0, 0,
                                               FrameWindow, nullptr, instance, nullptr)
                             : CreateWindowExW(0, kClientClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                                               nullptr, instance, nullptr);
    if (!Dde.client) {
        RemoveClientWindow();
        return false;
    }

    const ATOM application = GlobalAddAtomW(ProgmanApplication);
    const ATOM topic = GlobalAddAtomW(kTopic);
    Dde.initiating = true;
    SendInitiate(MAKELPARAM(application, topic));
    Dde.initiating = false;
    GlobalDeleteAtom(application);
    GlobalDeleteAtom(topic);

    if (!Dde.server) {
        RemoveClientWindow();
        return false;
    }
    return true;
}

bool DdeExecute(const wchar_t* command)
{
    if (!Dde.server)
        return false;
    const std::string bytes = CommandBytes(command);
    if (bytes.empty())
        return false;
    HGLOBAL block = CopyToShared(bytes);
    if (!block)
        return false;

    Dde.ackArrived = false;
    const LPARAM lParam = PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(block));
    if (!PostMessageW(Dde.server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(Dde.client), lParam)) {
        FreeDDElParam(WM_DDE_EXECUTE, lParam);
        GlobalFree(block);
        return false;
    }
    switch (WaitForAck()) {
    case AckWait::kArrived:
        GlobalFree(block);
        return Dde.ackPositive;
    case AckWait::kServerGone:
        GlobalFree(block);
        return false;
    case AckWait::kTimedOut:
    case AckWait::kClientGone:
        // The server may still read the block: it is left to it. The
        // conversation ends here: a server that lets one command go
        // unanswered would cost the same wait for each of the others, and a
        // client gone with the setup window hears no answer.
        EndConversation(Dde.server);
        Dde.server = nullptr;
        return false;
    }
    return false;
}

void DdeClientClose()
{
    if (Dde.server)
        PostTerminate(Dde.server);
    RemoveClientWindow();
}
