#pragma once
// Checks of the product directory before anything is copied into it. `dir`
// ends with a backslash.
#include <windows.h>

// True when a prior installation of the backup application is in `dir` and
// the user does not want it replaced.
bool ConfirmPriorInstall(const wchar_t* dir);

// Which marks of a prior installation `dir` holds (non-zero: the backup
// application's files are there).
int PriorInstallMask(const wchar_t* dir);

enum class FilesInUse {
    Free,       // no file of the product about to be replaced is held open
    Cancelled,  // the user cancelled on one that is
};
FilesInUse CheckFilesInUse(const wchar_t* dir);

// Removes the files that earlier versions left in `dir`: they are set aside
// in the install's journal, which deletes them once the copy has completed
// and puts them back when the install fails. Stops at one that cannot be
// moved.
void DeleteKnownFiles(const wchar_t* dir);
