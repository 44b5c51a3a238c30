#pragma once
// The one thread's message handling: the main loop, the pump that long work
// uses to keep the windows alive, and the request to end the program.

// Removes and dispatches every waiting message of the thread, then returns.
// A call made while a pump is running returns at once.
void PumpMessages();

// Posts the quit request. The first request's code is the one the program
// ends with: a sequence that fails asks for code 1 before its caller asks
// for the end again.
void RequestProgramEnd(int exitCode);

// Gets, translates and dispatches until the quit request; returns its code.
int RunMessageLoop();
