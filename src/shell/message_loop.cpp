#include "shell/message_loop.h"

#include <windows.h>

#include "shell/setup_state.h"

namespace {

bool Pumping;
LONGLONG LastDrainEnd;  // performance-counter time

LONGLONG CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG DrainIntervalCounts()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart * kDrainIntervalMs / 1000;
}

// How much a code says against the run. A completion that left work for
// the restart is still a completion: any failure outranks it.
int Gravity(int exitCode)
{
    switch (exitCode) {
    case kExitCompleted:
        return 0;
    case kExitRestartRequired:
        return 1;
    default:
        return 2;
    }
}

// Waits up to `milliseconds` (or INFINITE) for one of `count` objects,
// handling messages as they arrive. True when an object was signalled.
bool WaitPumpingForAny(DWORD count, const HANDLE* objects, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= milliseconds)
                return false;
            left = milliseconds - elapsed;
        }
        const DWORD woken = MsgWaitForMultipleObjects(count, objects, FALSE, left, QS_ALLINPUT);
        // A wait that ends a little early by this clock goes on.
        if (woken == WAIT_OBJECT_0 + count)
            PumpMessages();
        else if (woken != WAIT_TIMEOUT)
            return woken < WAIT_OBJECT_0 + count;
    }
}

bool QuitPending()
{
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace

void PumpMessages()
{
    if (Pumping)
        return;
    Pumping = true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The request must still reach the loop that ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    LastDrainEnd = CounterNow();
    Pumping = false;
}

void PumpMessagesWhenDue()
{
    static const LONGLONG interval = DrainIntervalCounts();
    if (CounterNow() - LastDrainEnd >= interval)
        PumpMessages();
}

void WaitPumping(DWORD milliseconds)
{
    WaitPumpingForAny(0, nullptr, milliseconds);
}

bool WaitPumpingFor(HANDLE object, DWORD milliseconds)
{
    return WaitPumpingForAny(1, &object, milliseconds);
}

void RaiseExitCode(int exitCode)
{
    if (Gravity(exitCode) > Gravity(ExitCode))
        ExitCode = exitCode;
}

void RequestProgramEnd(int exitCode)
{
    RaiseExitCode(exitCode);
    if (!QuitPending())
        PostQuitMessage(ExitCode);
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return ExitCode;
}
