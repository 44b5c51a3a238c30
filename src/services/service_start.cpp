#include "services/service_control.h"

#include "services/service_handle.h"
#include "services/stop_wait.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

int StartServiceIfStopped(const ServiceEntry& entry)
{
    OpenedService service(entry.nameId);
    if (!service)
        return service.Absent() ? 1 : 0;
    SERVICE_STATUS status;
    if (!Platform().QueryServiceStatus(service.get(), &status))
        return 0;
    if (status.dwCurrentState == SERVICE_RUNNING || status.dwCurrentState == SERVICE_START_PENDING)
        return 1;
    // A service still winding down from a stop refuses to be started.
    if (status.dwCurrentState == SERVICE_STOP_PENDING &&
        WaitForServiceStop(service.get(), kStopWaitBounds) == StopWait::GaveUp)
        return 0;
    return Platform().StartServiceW(service.get(), 0, nullptr) ? 1 : 0;
}

int StartServices(const wchar_t*)
{
    return ForEveryService([](const ServiceEntry& entry) {
        return !(ServicesStoppedByRun & (1u << ServiceRow(entry))) || StartServiceIfStopped(entry);
    });
}
