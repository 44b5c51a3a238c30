#include "services/service_control.h"

#include "services/service_handle.h"
#include "services/start_call.h"
#include "services/stop_wait.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

bool StartServiceIfStopped(SC_HANDLE manager, const ServiceEntry& entry)
{
    OpenedService service(manager, entry.nameId);
    if (!service)
        return service.Absent();
    SERVICE_STATUS status;
    if (!Platform().QueryServiceStatus(service.get(), &status))
        return false;
    if (status.dwCurrentState == SERVICE_RUNNING || status.dwCurrentState == SERVICE_START_PENDING)
        return true;
    // A service still winding down from a stop refuses to be started.
    if (status.dwCurrentState == SERVICE_STOP_PENDING &&
        WaitForServiceStop(service.get(), kStopWaitBounds) == StopWait::GaveUp)
        return false;
    return StartServiceAnswering(service.get()) != FALSE;
}

bool StartServices()
{
    ServiceWalk walk(SC_MANAGER_ALL_ACCESS);
    bool every = true;
    for (int row = 0; row < kServiceCount; ++row)
        if ((ServicesStoppedByRun & (1u << row)) && !StartServiceIfStopped(walk.Next(), kServiceTable[row]))
            every = false;
    return every;
}
