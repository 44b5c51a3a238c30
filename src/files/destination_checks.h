#pragma once
// Checks of the product directory before anything is copied into it. `dir`
// ends with a backslash.
#include <windows.h>

// Non-zero when a prior installation of the backup application is in `dir`
// and the user does not want it replaced.
int ConfirmPriorInstall(const wchar_t* dir);

// Which marks of a prior installation `dir` holds (non-zero: the backup
// application's files are there).
int PriorInstallMask(const wchar_t* dir);

// 1 when no file of the product that is about to be replaced is held open;
// 2 when the user cancelled on one that is.
int CheckFilesInUse(const wchar_t* dir);

// Deletes the files that earlier versions left in `dir`.
void DeleteKnownFiles(const wchar_t* dir);
