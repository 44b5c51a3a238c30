#pragma once
// The one thread's message handling: the main loop, the pump that long work
// uses to keep the windows alive, and the request to end the program.

#include <windows.h>

// Removes and dispatches every waiting message of the thread, then returns.
// A call made while a pump is running returns at once.
void PumpMessages();

// Long loops drain the queue when the last drain is at least this old, not
// after every step: a step slower than this (a block read from a floppy
// disk) still drains every time, while a fast one no longer pays a trip to
// the window system per step. A press of Cancel, a close request or a
// repaint is then handled within this time plus one step.
constexpr DWORD kDrainIntervalMs = 5;

// PumpMessages, when the last drain is at least kDrainIntervalMs old.
void PumpMessagesWhenDue();

// Waits `milliseconds` with the windows alive: messages that arrive
// meanwhile are handled at once.
void WaitPumping(DWORD milliseconds);

// Waits up to `milliseconds` (or INFINITE) for `object` to be signalled,
// handling messages meanwhile as WaitPumping does. True when it was.
bool WaitPumpingFor(HANDLE object, DWORD milliseconds);

// Raises the code the program will end with, without ending it: a run that
// failed but stays on screen until the user closes it. The gravest code
// asked for wins: a failure over a completion that needs a restart
// (kExitRestartRequired, although the larger number) over a plain one.
void RaiseExitCode(int exitCode);

// Posts the quit request. The program ends with the gravest code any request
// asked for (kept in ExitCode): closing the frame asks for kExitCompleted,
// and the sequence it cancelled asks for kExitNotCompleted afterwards.
void RequestProgramEnd(int exitCode);

// Gets, translates and dispatches until the quit request; returns ExitCode.
int RunMessageLoop();
