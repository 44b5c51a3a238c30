#pragma once
#include <windows.h>

// Installs every file of the chosen install type from the source disks into
// its directory; `destDir` is the product directory with its backslash.
// Non-zero when every file was installed; 0 at the first failure.
int InstallFileSet(const wchar_t* destDir);
