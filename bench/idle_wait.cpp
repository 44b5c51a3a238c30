#include "idle_wait.h"

#include <windows.h>

#include "bench_clock.h"

namespace {

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The share of the processors' time spent idle over the next `windowMs`;
// negative when the system does not say.
double IdleShareOver(unsigned windowMs)
{
    FILETIME idle[2], kernel[2], user[2];
    if (!GetSystemTimes(&idle[0], &kernel[0], &user[0]))
        return -1;
    Sleep(windowMs);
    if (!GetSystemTimes(&idle[1], &kernel[1], &user[1]))
        return -1;
    // The kernel time includes the idle time.
    const ULONGLONG all = Ticks(kernel[1]) - Ticks(kernel[0]) + Ticks(user[1]) - Ticks(user[0]);
    return all ? static_cast<double>(Ticks(idle[1]) - Ticks(idle[0])) / static_cast<double>(all) : -1;
}

}  // namespace

double WaitForIdleProcessors(double idleShare, unsigned windowMs, unsigned longestMs)
{
    const double start = Now();
    while ((Now() - start) * 1000 < longestMs) {
        const double share = IdleShareOver(windowMs);
        if (share < 0 || share >= idleShare)
            break;
    }
    return Now() - start;
}
