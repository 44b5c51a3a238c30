#include "services/stop_wait.h"

#include "shell/message_loop.h"
#include "shell/platform_calls.h"

StopWait WaitForServiceStop(SC_HANDLE service, const StopWaitBounds& bounds)
{
    SERVICE_STATUS status;
    if (!Platform().QueryServiceStatus(service, &status))
        return StopWait::QueryFailed;
    const DWORD start = GetTickCount();
    DWORD lastMove = start;
    while (status.dwCurrentState != SERVICE_STOPPED) {
        DWORD sleep = status.dwWaitHint / 10;
        sleep = sleep < bounds.minSleepMs ? bounds.minSleepMs : sleep > bounds.maxSleepMs ? bounds.maxSleepMs : sleep;
        WaitPumping(sleep);
        const SERVICE_STATUS before = status;
        if (!Platform().QueryServiceStatus(service, &status))
            return StopWait::QueryFailed;
        const DWORD now = GetTickCount();
        if (status.dwCheckPoint != before.dwCheckPoint || status.dwCurrentState != before.dwCurrentState)
            lastMove = now;
        if (status.dwCurrentState == SERVICE_STOPPED)
            break;
        const DWORD stallMs = status.dwWaitHint > bounds.minStallMs ? status.dwWaitHint : bounds.minStallMs;
        if (now - lastMove >= stallMs || now - start >= bounds.totalMs)
            return StopWait::GaveUp;
    }
    return StopWait::Stopped;
}
