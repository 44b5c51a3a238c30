#pragma once
// The product directory: asked for in the "Specify Directory" dialog or
// taken from "/DEST:", checked and created with its DATA and CATALOGS
// subdirectories.
#include <windows.h>

enum : int {
    kDestinationReady = 0,
    kDestinationNoSpace = 1,
    kDestinationInvalid = 2,
    kDestinationNotCreated = 3,
};

// 1 when a destination is accepted (`path` then ends with a backslash), 0
// when the user cancelled or the install must end, 2 when "/DEST:" is given
// but its argument cannot be taken. `path` is a 260-character buffer.
int ChooseDestination(HWND frame, wchar_t* path);

// True when `path` starts with a drive letter whose drive is fixed.
bool IsLocalFixedDrive(const wchar_t* path);

// Makes `path` absolute (relative to the Windows directory), checks the free
// space and creates every level with DATA and CATALOGS. One of the results
// above; `path` holds the absolute form except when it is invalid.
int PrepareDestination(wchar_t* path);

// Free space of the drive that `path` starts with, in kilobytes.
ULONGLONG FreeKilobytes(const wchar_t* path);
