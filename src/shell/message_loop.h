#pragma once
// The one thread's message handling: the main loop, the pump that long work
// uses to keep the windows alive, and the request to end the program.

// Removes and dispatches every waiting message of the thread, then returns.
// A call made while a pump is running returns at once.
void PumpMessages();

// Posts the quit request. The program ends with the highest code any request
// asked for (kept in ExitCode): closing the frame asks for kExitCompleted,
// and the sequence it cancelled asks for kExitNotCompleted afterwards.
void RequestProgramEnd(int exitCode);

// Gets, translates and dispatches until the quit request; returns ExitCode.
int RunMessageLoop();
