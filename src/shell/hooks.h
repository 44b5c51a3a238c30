#pragma once
// What tests replace: the few points where a test program, or the test build
// of setup, puts a function or a setting of its own in place of setup's, to
// drive a branch the platform cannot produce or to keep a call from acting
// on the computer the tests run on. Each is declared here, once, with its
// default and who replaces it; setup itself only reads them. Whoever
// replaces one puts the default back when done.
#include <windows.h>

struct PlatformCalls;

// The call that restarts the system at the end of an uninstall. Default:
// ExitWindowsEx. Replaced by the restart tests (tests/maint) and by the test
// build with SETUP_SIMULATION=restart-fails, so that no test restarts the
// computer it runs on.
using RestartCall = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern RestartCall RestartSystem;

// The DDE application that the Program Manager conversation asks for; the
// topic stays "PROGMAN". Default: "PROGMAN". Replaced by the program-group
// tests (tests/progman) and by the test build with SETUP_PROGMAN, which
// point it at a server of their own.
extern const wchar_t* ProgmanApplication;

// How long a Program Manager command waits for its acknowledgement, the
// windows kept alive meanwhile. Program Manager answers a command in well
// under a second; one that has not answered in this time is taken to have
// failed, and the conversation ends there. Default: kDdeAckTimeoutMs.
// Shortened by the program-group tests (tests/progman).
constexpr DWORD kDdeAckTimeoutMs = 30000;
extern DWORD DdeAckTimeoutMs;

// The table of the platform's network-management, network-enumeration,
// account-lookup, LSA, service-manager and event-log calls
// (shell/platform_calls.h). Default: the platform's functions, resolved at
// the first call. Entries are replaced by the account and service tests
// (tests/services) and the event-log tests (tests/shell), which restore the
// table they saved, and by the test build with
// SETUP_SIMULATION=account-missing or logon-failure.
PlatformCalls& Platform();
