#pragma once
// Runs a piece of work that calls into the platform so that a processor
// fault inside it (an access violation in the platform's code, say), or a
// call of a function the platform exports but does not implement, ends that
// work with a failure instead of ending setup.
#include <windows.h>

// What the platform raises, instead of returning, when a program calls a
// function that it exports without implementing it; the exception record
// names the library and the function. It is raised as non-continuable, so
// without a guard the process ends.
constexpr DWORD kUnimplementedFunctionException = 0x80000100;

using GuardedWork = DWORD (*)(void* argument);

// Calls work(argument) and stores its answer in `result`. Returns false,
// leaving `result` alone, when a processor fault or a call of an
// unimplemented function ended the work, or the guard could not be set up.
// Whatever the work had acquired when it was ended (an open key, say) stays
// acquired. One guard at a time: guarded work must not run another guard.
bool RunGuarded(GuardedWork work, void* argument, DWORD& result);
