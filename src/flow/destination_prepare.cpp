// The checks and the creation of the product directory, shared by the
// "Specify Directory" dialog and "/DEST:".
#include <wchar.h>

#include <initializer_list>
#include <iterator>

#include "flow/destination.h"
#include "res/resource_ids.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// Enters `directory`, or creates it when it cannot be entered.
bool EnterOrCreate(const wchar_t* directory)
{
    return SetCurrentDirectoryW(directory) || CreateDirectoryW(directory, nullptr);
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

    // A path without a drive or directory is taken relative to the Windows
    // directory.
    wchar_t windows[kPathChars];
    UINT windowsLength = GetWindowsDirectoryW(windows, kPathChars);
    if (windowsLength > 0 && windowsLength < kPathChars) {
        wchar_t drive[3] = {windows[0], L':', 0};
        SetCurrentDirectoryW(drive);
        SetCurrentDirectoryW(windows);
    }

    wchar_t absolute[255];
    DWORD length = GetFullPathNameW(path, 255, absolute, nullptr);
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
        if (!EnterOrCreate(level))
            return DestinationResult::NotCreated;
    }
    if (!EnterOrCreate(path))
        return DestinationResult::NotCreated;

    wchar_t subdirectory[kPathChars];
    wchar_t name[kPathChars];
    lstrcpynW(level, path, kPathChars);
    if (!AppendBackslash(level, kPathChars))
        return DestinationResult::NotCreated;
    for (UINT id : {IDS_DATA_DIRECTORY, IDS_CATALOG_DIRECTORY}) {
        LoadBankString(LangBase + id, name, std::size(name));
        if (!JoinPath(subdirectory, kPathChars, level, name) || !EnterOrCreate(subdirectory))
            return DestinationResult::NotCreated;
    }
    return DestinationResult::Ready;
}
