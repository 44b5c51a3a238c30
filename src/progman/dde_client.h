#pragma once
// A conversation with Program Manager over DDE messages: open, one command
// at a time, close. Setup holds at most one conversation, opened and closed
// around each use.
#include <windows.h>

// The application name that the initiate asks for, "PROGMAN". Tests point it
// at a server of their own; the topic stays "PROGMAN".
extern const wchar_t* ProgmanApplication;

// How long a command waits for its acknowledgement, the windows kept alive
// meanwhile. Program Manager answers a command in well under a second; one
// that has not answered in this time is taken to have failed, and the
// conversation ends there: no further command is sent to it.
extern DWORD DdeAckTimeoutMs;
constexpr DWORD kDdeAckTimeoutMs = 30000;

// How long the initiate waits for each top-level window to take it. Program
// Manager takes it at once; a window that does not (its program is hung or
// busy) is passed over, with the other windows of its thread.
constexpr UINT kDdeInitiateWindowMs = 2000;

// True while the conversation sends UTF-16 text: Windows NT builds after 528.
// On 528 and earlier, commands go as code page 437 bytes.
extern bool UnicodeDde;

// The largest 8-bit command, its terminator included. A longer one is
// refused, never cut.
constexpr size_t kMaxOemCommandBytes = 512;

// 1 when a server answered the initiate for ProgmanApplication, 0 otherwise
// (no conversation is left then).
int DdeClientOpen(HINSTANCE instance);

// Sends one command and waits for its acknowledgement. 1 for a positive one;
// 0 when the command could not be sent, was refused (a negative
// acknowledgement or too long for the 8-bit form), or was not acknowledged
// in time or before the server went; after a command not acknowledged in
// time, every later one is 0 at once.
int DdeExecute(const wchar_t* command);

// Ends the conversation and removes the client window. Returns 1.
int DdeClientClose();
