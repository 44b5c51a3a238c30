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
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < milliseconds; elapsed = GetTickCount() - start) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT) == WAIT_OBJECT_0)
            PumpMessages();
    }
}

bool WaitPumpingFor(HANDLE object, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const DWORD elapsed = GetTickCount() - start;
            left = elapsed < milliseconds ? milliseconds - elapsed : 0;
        }
        switch (MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT)) {
        case WAIT_OBJECT_0:
            return true;
        case WAIT_OBJECT_0 + 1:
            PumpMessages();
            break;
        default:
            return false;
        }
    }
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
