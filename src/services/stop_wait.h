#pragma once
// The wait for a service to stop after the stop control was accepted.
#include <windows.h>

// Between two looks at the service's status setup sleeps a tenth of the
// wait hint it reported, kept between minSleepMs and maxSleepMs. It gives
// up when the service's checkpoint (or state) has not moved for one wait
// hint (a hint shorter than maxSleepMs counts as maxSleepMs), or after
// totalMs in all, whatever the service reports.
struct StopWaitBounds {
    DWORD minSleepMs;
    DWORD maxSleepMs;
    DWORD totalMs;
};
constexpr StopWaitBounds kStopWaitBounds = {100, 1000, 60000};

enum class StopWait {
    Stopped,      // the service reported stopped
    QueryFailed,  // its status could not be read any more
    GaveUp,       // a bound above ran out first
};

StopWait WaitForServiceStop(SC_HANDLE service, const StopWaitBounds& bounds);
