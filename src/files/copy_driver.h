#pragma once
#include <windows.h>

// Configures the product (Backup Server and Remote Admin) and installs every
// file of the chosen install type from the source disks. `destDir` (a
// 260-character buffer) gains a trailing backslash. Non-zero when every file
// was installed; 0 at the first failure.
int InstallFileSet(wchar_t* destDir);
