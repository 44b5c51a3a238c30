#include "services/service_control.h"

#include "services/platform_calls.h"
#include "services/service_handle.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

bool startFailed;

int StartIfStoppedByRun(const ServiceEntry& entry, const wchar_t*)
{
    if ((ServicesStoppedByRun & (1u << ServiceRow(entry))) && !StartServiceIfStopped(entry))
        startFailed = true;
    return 1;
}

}  // namespace

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
    return Platform().StartServiceW(service.get(), 0, nullptr) ? 1 : 0;
}

int StartServices(const wchar_t* argument)
{
    startFailed = false;
    ForEachService(StartIfStoppedByRun, argument);
    return startFailed ? 0 : 1;
}
