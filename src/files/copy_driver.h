#pragma once
#include <windows.h>

// Installs every file of the chosen install type from the source disks into
// its directory, checked against the checksum list when the first disk
// holds one; `destDir` is the product directory with its backslash. True
// when every file was installed; false at the first failure.
bool InstallFileSet(const wchar_t* destDir);

// The size of the install type's files where InstallFileSet put them (the
// product directory `destDir` and the system's), in kilobytes rounded up.
DWORD InstalledKilobytes(const wchar_t* destDir);
