#pragma once
// The restart at the end of an uninstall, which the files deleted at the
// next restart wait for.
#include <windows.h>

// The call that restarts the system (ExitWindowsEx). Test programs put their
// own in its place, so that no test restarts the computer it runs on.
using RestartCall = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern RestartCall RestartSystem;

// Enables the shutdown privilege and restarts the system. True when the
// restart was started; false after a message saying why it was not.
bool RestartWindows();
