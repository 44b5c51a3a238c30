#pragma once
// The wait for a service to stop after the stop control was accepted.
#include <windows.h>

// Between two looks at the service's status setup sleeps a tenth of the
// wait hint it reported, kept between minSleepMs and maxSleepMs. It gives
// up when the service's checkpoint (or state) has not moved for one wait
// hint, or after totalMs in all, whatever the service reports. Many services
// report no hint, or one far shorter than their stop takes, while they wind
// down without moving their checkpoint: a hint shorter than minStallMs
// counts as minStallMs. Once it reported stopped, its program is given
// exitMs to end and let go of its files.
struct StopWaitBounds {
    DWORD minSleepMs;
    DWORD maxSleepMs;
    DWORD minStallMs;
    DWORD totalMs;
    DWORD exitMs;
};
constexpr StopWaitBounds kStopWaitBounds = {100, 1000, 20000, 60000, 3000};

enum class StopWait {
    Stopped,      // the service reported stopped
    QueryFailed,  // its status could not be read any more
    GaveUp,       // a bound above ran out first
};

StopWait WaitForServiceStop(SC_HANDLE service, const StopWaitBounds& bounds);
