#include "files/copy_driver.h"

#include <iterator>

#include "files/checksum_list.h"
#include "files/copy_progress.h"
#include "files/file_copy.h"
#include "files/file_table.h"
#include "res/resource_ids.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The directory a row's file goes to, with a backslash; false when it does
// not fit a path buffer.
bool RowDirectory(const FileEntry& row, const wchar_t* destDir, wchar_t* directory)
{
    UINT length = 0;
    switch (row.destination) {
    case kDestinationWindows:
        length = GetWindowsDirectoryW(directory, kPathChars);
        break;
    case kDestinationSystem:
        length = GetSystemDirectoryW(directory, kPathChars);
        break;
    default:
        lstrcpynW(directory, destDir, kPathChars);
        return true;
    }
    return length > 0 && length < kPathChars && AppendBackslash(directory, kPathChars);
}

}  // namespace

bool InstallFileSet(const wchar_t* destDir)
{
    SetCopyPercent(5);
    SetActionText(LangBase + IDS_ACTION_COPYING);
    // The checksum list lies on the first disk, which is the source now.
    if (!LoadChecksumList(SourcePath))
        return false;

    for (int i = 0; i < kFileCount; ++i) {
        const FileEntry& row = kFileTable[i];
        if (!(row.installTypes & InstallType))
            continue;
        wchar_t directory[kPathChars];
        if (!RowDirectory(row, destDir, directory))
            return false;
        if (!InstallOneFile(SourcePath, directory, LangBase + row.compressedNameId, LangBase + row.installedNameId,
                            (row.flags & kFileCompressed) != 0, row.destination != kDestinationProduct))
            return false;
    }
    SetCopyPercent(90);
    return true;
}

DWORD InstalledKilobytes(const wchar_t* destDir)
{
    ULONGLONG bytes = 0;
    for (int i = 0; i < kFileCount; ++i) {
        const FileEntry& row = kFileTable[i];
        wchar_t directory[kPathChars];
        wchar_t name[256];
        wchar_t path[kJoinedPathChars];
        WIN32_FILE_ATTRIBUTE_DATA file;
        if (!(row.installTypes & InstallType) || !RowDirectory(row, destDir, directory))
            continue;
        LoadBankString(LangBase + row.installedNameId, name, std::size(name));
        if (JoinPath(path, std::size(path), directory, name) &&
            GetFileAttributesExW(path, GetFileExInfoStandard, &file))
            bytes += (static_cast<ULONGLONG>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}
