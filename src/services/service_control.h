#pragma once
// Stopping, removing and restarting the product's services, by their names
// in the service table, around an install or an uninstall.
#include <windows.h>

#include "services/service_table.h"
#include "services/stop_wait.h"

class ServiceWalk;

// Stops the service of `entry` through `manager` (null: it cannot be
// opened) and waits for it within `bounds`; when this call's stop request
// was accepted, for its program to end as well, so that its files are free.
// True when it is stopped or absent, or runs a program that is not the
// product's (left as it is); false when the manager or the service cannot
// be opened or queried, or the stop was refused or not completed in time.
// With `remove`, the service is then deleted (tried four times, waiting
// longer each time) and the result is the deletion's. `stopSent`, when
// given, is set when this call's stop request was accepted.
bool StopService(SC_HANDLE manager, const ServiceEntry& entry, bool remove, bool* stopSent = nullptr,
                 const StopWaitBounds& bounds = kStopWaitBounds);

// Starts the service of `entry` through `manager` unless it is running or
// starting; one still stopping is waited for first, within kStopWaitBounds.
// True when it is, or was started, or is absent. No wait follows the start.
bool StartServiceIfStopped(SC_HANDLE manager, const ServiceEntry& entry);

// Each walk below opens the Service Control Manager once, and handles
// messages between services.

// Stops each product service of the install type without deleting it, as
// the next services of `walk` (opened with all access), waiting for each
// within `bounds`, and records in ServicesStoppedByRun each one whose stop
// request was accepted. Goes on past one that fails: true when every one
// stopped.
bool StopServices(ServiceWalk& walk, const StopWaitBounds& bounds = kStopWaitBounds);

// Stops and deletes each product service of the install type; ends at the
// first whose deletion fails: true when every one is gone.
bool RemoveServices();

// Starts again each service that StopServices stopped in this run, and
// only those; goes on past a failure. True when every start succeeded.
bool StartServices();

// True when `binaryPath`, a service's command line as the Service Control
// Manager keeps it, runs one of the product's service programs: compared by
// file name in any case, the path quoted or not, arguments after it.
bool IsProductServiceProgram(const wchar_t* binaryPath);

// True when no service of the product's names and the install type runs
// another program. Else reports the first that does, naming it and its
// program (with "/SMS:" without a box), and gives false.
bool CheckServiceOwners();

// True when the agent browser service exists and is not disabled; asked as
// the next service of `walk` (opened with all access), so that the check of
// the old services before an install opens the manager once.
bool QueryAgentBrowserEnabled(ServiceWalk& walk);
