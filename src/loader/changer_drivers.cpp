// The changer drivers: every "*.VSD" file of the loader disk goes into the
// system's DRIVERS directory, a driver already there being kept under a
// numbered backup name.
#include <wchar.h>

#include <initializer_list>

#include "files/copy_progress.h"
#include "loader/loader_module.h"
#include "shell/handles.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"

namespace {

constexpr int kLastBackup = 999;
constexpr int kPercentPerDriver = 10;

bool Exists(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// Copies without replacing and leaves the copy writable. The error of the
// copy is kept for the caller.
bool CopyNew(const wchar_t* from, const wchar_t* to)
{
    if (!CopyFileW(from, to, TRUE))
        return false;
    DWORD attributes = GetFileAttributesW(to);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(to, attributes & ~FILE_ATTRIBUTE_READONLY);
    return true;
}

// Renames `to` to the first free NAME.001 ... NAME.999. False when it has
// no extension to replace, every number is taken, or the rename fails for
// another reason.
bool KeepBackup(const wchar_t* to)
{
    const wchar_t* period = wcsrchr(to, L'.');
    const wchar_t* backslash = wcsrchr(to, L'\\');
    if (!period || (backslash && period < backslash))
        return false;
    size_t baseChars = static_cast<size_t>(period - to) + 1;
    wchar_t backup[kJoinedPathChars];
    if (baseChars + 4 > kJoinedPathChars)
        return false;
    for (int number = 1; number <= kLastBackup; ++number) {
        wmemcpy(backup, to, baseChars);
        wsprintfW(backup + baseChars, L"%03d", number);
        if (MoveFileW(to, backup))
            return true;
        if (!Exists(GetLastError()))
            return false;
    }
    return false;
}

// The directory holding the drivers: `source` itself, else its I386
// subdirectory. False when neither holds one.
bool FindDrivers(const wchar_t* source, wchar_t (&directory)[kJoinedPathChars])
{
    for (const wchar_t* sub : {L"", L"I386\\"}) {
        wchar_t pattern[kJoinedPathChars];
        if (!JoinPath(directory, kJoinedPathChars, source, sub) ||
            !JoinPath(pattern, kJoinedPathChars, directory, L"*.VSD"))
            return false;
        WIN32_FIND_DATAW found;
        FindHandle search(FindFirstFileW(pattern, &found));
        if (search)
            return true;
    }
    return false;
}

}  // namespace

bool InstallDriverWithBackup(const wchar_t* from, const wchar_t* to)
{
    if (CopyNew(from, to))
        return true;
    // Only a driver already there is kept aside; any other failure (a
    // missing source) would fail again under every backup name.
    if (!Exists(GetLastError()) || !KeepBackup(to))
        return false;
    return CopyNew(from, to);
}

bool InstallChangerDrivers()
{
    wchar_t drivers[kJoinedPathChars];
    UINT length = GetSystemDirectoryW(drivers, kPathChars);
    if (length == 0 || length >= kPathChars || !JoinPath(drivers, kJoinedPathChars, drivers, L"\\DRIVERS\\"))
        return false;
    wchar_t source[kJoinedPathChars];
    lstrcpynW(source, SourcePath, kPathChars);
    wchar_t directory[kJoinedPathChars];
    if (!AppendBackslash(source, kJoinedPathChars) || !FindDrivers(source, directory))
        return false;
    // A new 64-bit system has no such folder for 32-bit programs yet.
    if (!CreateDirectoryW(drivers, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;

    wchar_t pattern[kJoinedPathChars];
    JoinPath(pattern, kJoinedPathChars, directory, L"*.VSD");
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW(pattern, &found));
    if (!search)
        return false;
    bool all = true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        wchar_t from[kJoinedPathChars];
        wchar_t to[kJoinedPathChars];
        if (!JoinPath(from, kJoinedPathChars, directory, found.cFileName) ||
            !JoinPath(to, kJoinedPathChars, drivers, found.cFileName) || !InstallDriverWithBackup(from, to)) {
            all = false;
            break;
        }
        SetCopyPercent(CopyPercent + kPercentPerDriver < 100 ? CopyPercent + kPercentPerDriver : 100);
    } while (FindNextFileW(search.get(), &found));
    return all;
}
