#include "services/service_control.h"

#include "services/service_handle.h"
#include "services/stop_wait.h"
#include "shell/handles.h"
#include "shell/message_loop.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// Waits before the second, third and fourth try of a deletion.
constexpr DWORD kDeleteRetryWaitsMs[] = {500, 1000, 2000};

bool DeleteWithRetries(SC_HANDLE service)
{
    BOOL deleted = Platform().DeleteService(service);
    for (DWORD wait : kDeleteRetryWaitsMs) {
        if (deleted)
            break;
        WaitPumping(wait);
        deleted = Platform().DeleteService(service);
    }
    return deleted != FALSE;
}

}  // namespace

bool StopService(SC_HANDLE manager, const ServiceEntry& entry, bool remove, bool* stopSent,
                 const StopWaitBounds& bounds)
{
    OpenedService service(manager, entry.nameId);
    if (!service)
        return service.Absent();
    // Another program registered under the product's name is not the
    // product's service: it is neither stopped nor deleted.
    ServiceConfig config(service.get());
    if (!config)
        return false;
    if (!IsProductServiceProgram(config->lpBinaryPathName))
        return true;
    SERVICE_STATUS_PROCESS status;
    DWORD bytes = 0;
    if (!Platform().QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                         sizeof status, &bytes))
        return false;

    bool stopped = true;
    if (status.dwCurrentState != SERVICE_STOPPED) {
        // Opened before the stop, while the id still names the service's
        // program and no other.
        WaitableHandle program(status.dwProcessId ? OpenProcess(SYNCHRONIZE, FALSE, status.dwProcessId) : nullptr);
        SERVICE_STATUS control;
        if (!Platform().ControlService(service.get(), SERVICE_CONTROL_STOP, &control)) {
            stopped = false;
        } else {
            if (stopSent)
                *stopSent = true;
            // A status that can no longer be read ends the wait without
            // changing the result; a service that takes too long fails it.
            // A stopped service's program may still hold its files for a
            // moment; one that outlasts the bound is left to the checks of
            // files in use.
            if (WaitForServiceStop(service.get(), bounds) == StopWait::GaveUp)
                stopped = false;
            else if (program)
                WaitPumpingFor(program.get(), bounds.exitMs);
        }
    }
    return remove ? DeleteWithRetries(service.get()) : stopped;
}

bool StopServices(ServiceWalk& walk, const StopWaitBounds& bounds)
{
    // One service that takes too long to stop does not keep the others
    // running: whether its program is still in use is the files-in-use
    // check's to find.
    bool every = true;
    for (int row = 0; row < kServiceCount; ++row) {
        if (!InstallTypeHasService(kServiceTable[row]))
            continue;
        bool stopSent = false;
        if (!StopService(walk.Next(), kServiceTable[row], false, &stopSent, bounds))
            every = false;
        if (stopSent)
            ServicesStoppedByRun |= 1u << row;
    }
    return every;
}

bool RemoveServices()
{
    ServiceWalk walk(SC_MANAGER_ALL_ACCESS);
    for (int row = 0; row < kServiceCount; ++row)
        if (InstallTypeHasService(kServiceTable[row]) && !StopService(walk.Next(), kServiceTable[row], true))
            return false;
    return true;
}
