#pragma once
// Which directory the uninstall may empty: the one setup's installed copy
// runs from, and only when that is the product's installed directory.
#include "shell/setup_state.h"

// The directory of the running program, with its backslash; false, after a
// message, when its path does not fit (the system cut it) or has no
// backslash.
bool GetProgramDirectory(wchar_t (&directory)[kPathChars]);

// True when `directory` (ending in a backslash) is the product's installed
// directory: the one the product's configuration names as the data path's
// parent or, without a configuration, one holding the product's program and
// setup. A drive root, the Windows directory and the system directory never
// are.
bool IsInstalledProductDirectory(const wchar_t* directory);
