#pragma once
// A conversation with Program Manager over DDE messages: open, one command
// at a time, close. Setup holds at most one conversation, opened and closed
// around each use. The application asked for is ProgmanApplication, and a
// command waits DdeAckTimeoutMs for its acknowledgement (shell/hooks.h).
#include <windows.h>

// How long the initiate waits for each top-level window to take it. Program
// Manager takes it at once; a window that does not (its program is hung or
// busy) is passed over, with the other windows of its thread.
constexpr UINT kDdeInitiateWindowMs = 2000;

// The largest 8-bit command, its terminator included. A longer one is
// refused, never cut.
constexpr size_t kMaxOemCommandBytes = 512;

// True when a server answered the initiate for ProgmanApplication; false
// otherwise (no conversation is left then).
bool DdeClientOpen(HINSTANCE instance);

// Sends one command and waits for its acknowledgement. True for a positive
// one; false when the command could not be sent, was refused (a negative
// acknowledgement or too long for the 8-bit form), or was not acknowledged
// in time, before the server went or before the setup window, the client's
// parent, was closed; after a command not acknowledged in time or with the
// window closed, every later one is false at once.
bool DdeExecute(const wchar_t* command);

// Ends the conversation and removes the client window.
void DdeClientClose();
