#pragma once
// The product directory: asked for in the "Specify Directory" dialog or
// taken from "/DEST:", checked and created with its DATA and CATALOGS
// subdirectories before anything is copied.
#include <windows.h>

enum class DestinationResult {
    Ready,       // absolute, created, with DATA and CATALOGS
    NoSpace,     // the drive has less room than the product needs
    Invalid,     // no path, a space or a double quote, or no absolute form
    NotCreated,  // a level or a subdirectory could not be created
};

// True when a destination is accepted: `path` (a 260-character buffer) then
// holds it, absolute, created, with a trailing backslash, and CommonGroup
// holds the dialog's check box, which "/COMMON:" ticks first (or stands for
// without the dialog). False when the user cancelled, when the
// install must end (not enough space), or when "/DEST:" names a directory
// that cannot be used; the user has then been told why, unless unattended.
bool ChooseDestination(HWND frame, wchar_t* path);

// True when `path` starts with a drive letter, a colon and a backslash, and
// that drive is fixed. A drive without a backslash ("C:", "C:TAPW") is taken
// by the platform relative to that drive's current directory, so it counts
// as a relative path.
bool IsLocalFixedDrive(const wchar_t* path);

// Makes `path` absolute (relative to the Windows directory), checks the free
// space and creates every level with DATA and CATALOGS. `path` holds the
// absolute form except when it is invalid.
DestinationResult PrepareDestination(wchar_t* path);

// Free space of the drive that `path` starts with, in kilobytes.
ULONGLONG FreeKilobytes(const wchar_t* path);
