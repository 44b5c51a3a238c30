#pragma once
// Runs a piece of registry work so that a processor fault inside it (an
// access violation in the platform's code, say) ends that work with a failure
// instead of ending setup.
#include <windows.h>

using GuardedWork = DWORD (*)(void* argument);

// Calls work(argument) and stores its answer in `result`. Returns false,
// leaving `result` alone, when a processor fault ended the work or the guard
// could not be set up. Whatever the work had acquired when the fault hit
// (an open key, say) stays acquired. One guard at a time: guarded work must
// not run another guard.
bool RunGuarded(GuardedWork work, void* argument, DWORD& result);
