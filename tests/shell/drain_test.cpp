// Long loops drain the queue by time: after every step that takes longer
// than the interval (a block from a slow disk), and not after every step of
// a fast one.
#include <gtest/gtest.h>

#include "shell/message_loop.h"
#include "support/in_process.h"

namespace {

int LastStepSeen;

LRESULT CALLBACK StepWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        LastStepSeen = static_cast<int>(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs `steps` steps of `stepMs` each, posting the step's number before its
// drain; returns how many steps found their message handled right away.
int StepsDrainedAtOnce(HWND window, int steps, DWORD stepMs)
{
    PumpMessages();
    LastStepSeen = 0;
    int drained = 0;
    for (int step = 1; step <= steps; ++step) {
        Sleep(stepMs);
        PostMessageW(window, WM_APP, step, 0);
        PumpMessagesWhenDue();
        drained += LastStepSeen == step;
    }
    PumpMessages();
    return drained;
}

TEST(Drain, SlowStepsDrainEveryTimeFastOnesByTime)
{
    HWND window = CreateProbeWindow(StepWindowProc);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StepsDrainedAtOnce(window, 10, kDrainIntervalMs + 2), 10);
    EXPECT_LT(StepsDrainedAtOnce(window, 200, 0), 100);
    DestroyWindow(window);
}

}  // namespace
