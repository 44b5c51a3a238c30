#pragma once
// The restart at the end of an uninstall, which the files deleted at the
// next restart wait for.
#include <windows.h>

// Enables the shutdown privilege and restarts the system through
// RestartSystem (shell/hooks.h). True when the restart was started; false
// after a message saying why it was not.
bool RestartWindows();
