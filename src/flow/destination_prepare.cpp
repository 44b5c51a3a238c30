// The checks and the creation of the product directory, shared by the
// "Specify Directory" dialog and "/DEST:".
#include <wchar.h>
#include <wctype.h>

#include <initializer_list>
#include <iterator>

#include "files/install_journal.h"
#include "flow/destination.h"
#include "res/resource_ids.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

bool IsSeparator(wchar_t ch)
{
    return ch == L'\\' || ch == L'/';
}

bool IsDirectory(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A directory that this run creates is noted, so that a failed install
// removes it again and a completed one records the levels it made.
bool IsOrCreateDirectory(const wchar_t* directory)
{
    if (IsDirectory(directory))
        return true;
    if (!CreateDirectoryW(directory, nullptr))
        return false;
    RecordCreatedDirectory(directory);
    return true;
}

bool CopyWhole(wchar_t* output, size_t chars, const wchar_t* text)
{
    lstrcpynW(output, text, static_cast<int>(chars));
    return wcslen(text) < chars;
}

// The current directory of another drive, as the platform keeps it for the
// process (the variable "=X:"), else that drive's root.
bool DriveDirectory(wchar_t letter, wchar_t* directory, size_t chars)
{
    const wchar_t variable[] = {L'=', letter, L':', 0};
    const DWORD length = GetEnvironmentVariableW(variable, directory, static_cast<DWORD>(chars));
    if (length > 0 && length < chars)
        return true;
    const wchar_t root[] = {letter, L':', L'\\', 0};
    return CopyWhole(directory, chars, root);
}

// `path` made independent of the process's current directory, as it reads
// with the Windows directory as the current one: a relative path below the
// Windows directory, a path from the root ("\TAPW") on the Windows drive,
// and a path on a drive without its root ("C:TAPW") below the Windows
// directory on the Windows drive, else below that drive's own current
// directory. A full path, with its drive or a server's name, stays as it is.
// False when the result does not fit.
bool AnchorToWindowsDirectory(const wchar_t* path, wchar_t* anchored, size_t chars)
{
    wchar_t base[kPathChars];
    const UINT length = GetWindowsDirectoryW(base, kPathChars);
    if (length == 0 || length >= kPathChars)
        return CopyWhole(anchored, chars, path);
    if (IsSeparator(path[0])) {
        const wchar_t drive[] = {base[0], L':', 0};
        return IsSeparator(path[1]) ? CopyWhole(anchored, chars, path) : JoinPath(anchored, chars, drive, path);
    }
    if (path[0] && path[1] == L':') {
        if (IsSeparator(path[2]))
            return CopyWhole(anchored, chars, path);
        if (towupper(path[0]) != towupper(base[0]) && !DriveDirectory(path[0], base, kPathChars))
            return false;
        path += 2;
    }
    return *path ? JoinPath(anchored, chars, base, path) : CopyWhole(anchored, chars, base);
}

}  // namespace

bool IsLocalFixedDrive(const wchar_t* path)
{
    if (!path || !path[0] || path[1] != L':' || path[2] != L'\\')
        return false;
    wchar_t root[4] = {path[0], L':', L'\\', 0};
    return GetDriveTypeW(root) == DRIVE_FIXED;
}

ULONGLONG FreeKilobytes(const wchar_t* path)
{
    wchar_t root[4];
    lstrcpynW(root, path, 4);
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0;
    return static_cast<ULONGLONG>(freeClusters) * sectorsPerCluster * bytesPerSector / 1024;
}

DestinationResult PrepareDestination(wchar_t* path)
{
    // No space, and no double quote, which no program-group command can
    // carry in the item's path.
    if (!path || !path[0] || wcspbrk(path, L" \""))
        return DestinationResult::Invalid;

    wchar_t anchored[kJoinedPathChars];
    if (!AnchorToWindowsDirectory(path, anchored, std::size(anchored)))
        return DestinationResult::Invalid;
    wchar_t absolute[255];
    DWORD length = GetFullPathNameW(anchored, 255, absolute, nullptr);
    if (length == 0 || length >= 255)
        return DestinationResult::Invalid;
    lstrcpynW(path, absolute, kPathChars);

    ULONGLONG required = static_cast<ULONGLONG>(LoadBankNumber(IDS_TOTAL_KILOBYTES, 0));
    if (FreeKilobytes(path) < required)
        return DestinationResult::NoSpace;

    // Every level from the root down, then the whole path.
    wchar_t level[kPathChars];
    const wchar_t* rootEnd = wcschr(path, L'\\');
    for (const wchar_t* cut = rootEnd ? wcschr(rootEnd + 1, L'\\') : nullptr; cut; cut = wcschr(cut + 1, L'\\')) {
        lstrcpynW(level, path, static_cast<int>(cut - path) + 1);
        if (!IsOrCreateDirectory(level))
            return DestinationResult::NotCreated;
    }
    if (!IsOrCreateDirectory(path))
        return DestinationResult::NotCreated;

    wchar_t subdirectory[kPathChars];
    wchar_t name[kPathChars];
    lstrcpynW(level, path, kPathChars);
    if (!AppendBackslash(level, kPathChars))
        return DestinationResult::NotCreated;
    for (UINT id : {IDS_DATA_DIRECTORY, IDS_CATALOG_DIRECTORY}) {
        LoadBankString(LangBase + id, name, std::size(name));
        if (!JoinPath(subdirectory, kPathChars, level, name) || !IsOrCreateDirectory(subdirectory))
            return DestinationResult::NotCreated;
    }
    return DestinationResult::Ready;
}
