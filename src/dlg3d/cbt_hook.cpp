// The thread hook that notices each new dialog and subclasses it when its
// first control arrives, before WM_INITDIALOG.
#include "dlg3d/dlg3d.h"
#include "dlg3d/library_state.h"

using namespace dlg3d;

namespace {

struct HookEntry {
    HINSTANCE instance;
    DWORD thread;
    HHOOK hook;
};

constexpr int kMaxHooks = 4;
constexpr ATOM kDialogClassAtom = 32770;

HookEntry Hooks[kMaxHooks];
int HookCount;
int LastUsed;
DWORD LastThread;  // 0: no entry used yet
HWND PendingDialog;

HHOOK HookOfThisThread()
{
    const DWORD thread = GetCurrentThreadId();
    if (LastThread == thread)
        return Hooks[LastUsed].hook;
    for (int i = 0; i < HookCount; ++i) {
        if (Hooks[i].thread == thread) {
            LastUsed = i;
            LastThread = thread;
            return Hooks[i].hook;
        }
    }
    return nullptr;
}

// Windows the system makes for a dialog of its own (an input-method window,
// say) may arrive between the dialog and its first control: only a child of
// the pending dialog settles it.
void OnCreateWindow(HWND window, const CREATESTRUCTW* create)
{
    if (GetClassLongW(window, GCW_ATOM) == kDialogClassAtom) {
        PendingDialog = window;
        return;
    }
    if (!PendingDialog || !(create->style & WS_CHILD) || create->hwndParent != PendingDialog)
        return;
    HWND dialog = PendingDialog;
    PendingDialog = nullptr;
    if (Accepts(dialog, kRefuse3dLook))
        SubclassWindow(dialog, DialogProc);
}

LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = HookOfThisThread();
    if (code == HCBT_CREATEWND && Lib.active)
        OnCreateWindow(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
    else if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == PendingDialog)
        PendingDialog = nullptr;
    // Hooks installed before this one see every event too.
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

namespace dlg3d {

void RemoveHook(HINSTANCE instance)
{
    for (int i = 0; i < HookCount; ++i) {
        if (Hooks[i].instance != instance)
            continue;
        UnhookWindowsHookEx(Hooks[i].hook);
        for (int j = i + 1; j < HookCount; ++j)
            Hooks[j - 1] = Hooks[j];
        --HookCount;
        LastUsed = 0;
        LastThread = 0;
        return;
    }
}

}  // namespace dlg3d

BOOL AutoSubclass3d(HINSTANCE instance)
{
    if (Lib.version < kVersion310 || !Lib.active || HookCount == kMaxHooks)
        return FALSE;
    const DWORD thread = GetCurrentThreadId();
    HHOOK hook = SetWindowsHookExW(WH_CBT, HookProc, nullptr, thread);
    if (!hook)
        return FALSE;
    Hooks[HookCount++] = {instance, thread, hook};
    return TRUE;
}
