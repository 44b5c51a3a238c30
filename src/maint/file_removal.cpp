// The installed files are deleted forcefully but politely: attributes that
// would refuse the deletion are cleared, and a file in use gets one short
// retry, then a question whether it goes at the next restart.
#include "maint/file_removal.h"

#include <wchar.h>

#include <iterator>
#include <string>
#include <vector>

#include "files/copy_progress.h"
#include "files/file_table.h"
#include "maint/maintenance_dialogs.h"
#include "registry/created_levels.h"
#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"

namespace {

// A program that has just let go of a file (a service stopped a moment ago)
// may need this long.
constexpr DWORD kInUseRetryMs = 300;

constexpr UINT kTreeNames[] = {IDS_DATA_DIRECTORY, IDS_CATALOG_DIRECTORY};

void ReportDeleteFailure(const wchar_t* path, DWORD error)
{
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_DELETE_FAILED, path, error);
    AskUser(LangBase + IDS_UNEXPECTED_TITLE, text, MB_OK, MB_ICONSTOP, IDOK);
}

// The path of `name` in `directory`; a path that does not fit is reported
// as a name too long, never cut to another file's.
bool FilePath(wchar_t (&path)[kJoinedPathChars], const wchar_t* directory, const wchar_t* name)
{
    if (JoinPath(path, kJoinedPathChars, directory, name))
        return true;
    ReportDeleteFailure(path, ERROR_FILENAME_EXCED_RANGE);
    return false;
}

bool ScheduleFile(const wchar_t* directory, const wchar_t* name)
{
    wchar_t path[kJoinedPathChars];
    return FilePath(path, directory, name) && ScheduleDeletion(path);
}

// A file of the product left in use until the restart: the product is not
// gone before it.
void ScheduleFileInUse(const wchar_t* directory, const wchar_t* name)
{
    if (ScheduleFile(directory, name))
        RestartWorkLeft = true;
}

// The user's answer for a file in use, asked again when a cancel is not
// confirmed. False when the uninstall is to stop.
bool HandleFileInUse(const wchar_t* directory, UINT nameId, bool& yesToAll)
{
    wchar_t name[kPathChars + 1];
    LoadBankString(LangBase + nameId, name, std::size(name));
    if (yesToAll) {
        ScheduleFileInUse(directory, name);
        return true;
    }
    for (;;) {
        switch (AskFileInUse(name)) {
        case FileInUseAnswer::YesToAll:
            yesToAll = true;
            ScheduleFileInUse(directory, name);
            return true;
        case FileInUseAnswer::Yes:
            ScheduleFileInUse(directory, name);
            return true;
        case FileInUseAnswer::No:
            return true;
        case FileInUseAnswer::Cancel:
            CancelRequested = ConfirmCancel();
            CancelConfirmed = CancelRequested;
            if (CancelRequested)
                return false;
            break;
        }
    }
}

bool IsRecorded(const std::vector<std::wstring>& levels, const wchar_t* level)
{
    for (const std::wstring& recorded : levels)
        if (lstrcmpiW(recorded.c_str(), level) == 0)
            return true;
    return false;
}

// The levels of the product directory that its installs created, the
// directory itself first: what is left empty of them goes at the restart. A
// level that was there before (a folder the user made) stays. Without a
// record (an install by a setup that kept none), the product directory
// alone.
void ScheduleDirectoryLevels(const wchar_t* directory)
{
    std::vector<std::wstring> created;
    const bool recorded = ReadCreatedLevels(created);
    wchar_t level[kPathChars];
    lstrcpynW(level, directory, kPathChars);
    for (;;) {
        wchar_t* last = wcsrchr(level, L'\\');
        if (!last || last == wcschr(level, L'\\'))
            break;
        *last = 0;
        if (!recorded) {
            ScheduleDeletion(level);
            break;
        }
        if (IsRecorded(created, level))
            ScheduleDeletion(level);
    }
    ForgetCreatedLevels();
}

void RemoveTree(const wchar_t* directory, const wchar_t* name, TreeRemoval removal)
{
    wchar_t path[kJoinedPathChars];
    if (!JoinPath(path, kJoinedPathChars, directory, name) || !AppendBackslash(path, kJoinedPathChars) ||
        IsLinkedDirectory(path))
        return;
    if (removal == TreeRemoval::WithContents)
        DeleteDirectoryContents(path);
    RemoveDirectoryW(path);
}

}  // namespace

bool ForceDeleteFile(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    SetFileAttributesW(path, attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    return DeleteFileW(path) != FALSE;
}

bool ScheduleDeletion(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return true;
    ReportDeleteFailure(path, GetLastError());
    return false;
}

bool DeleteInstalledFile(const wchar_t* directory, TextRef name)
{
    BankText<256> fileName(name);
    wchar_t path[kJoinedPathChars];
    if (!FilePath(path, directory, fileName.c_str()))
        return true;
    if (ForceDeleteFile(path))
        return true;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND)
        return true;
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
        ReportDeleteFailure(path, error);
        return true;
    }
    Sleep(kInUseRetryMs);
    return ForceDeleteFile(path);
}

bool RemoveInstalledFiles(const wchar_t* directory, TreeRemoval trees)
{
    SetCopyPercent(5);
    SetActionText(LangBase + IDS_ACTION_UNINSTALLING);
    bool yesToAll = false;
    for (int row = 0; row < kFileCount; ++row) {
        if (CheckCancel())
            return false;
        const FileEntry& entry = kFileTable[row];
        if (entry.installedNameId == IDS_FILENAME_SETUP) {
            // The running program: it can only go once it has ended.
            wchar_t name[256];
            LoadBankString(LangBase + entry.installedNameId, name, std::size(name));
            ScheduleFile(directory, name);
            continue;
        }
        if (entry.destination != kDestinationProduct)
            continue;
        if (DeleteInstalledFile(directory, LangBase + entry.installedNameId))
            continue;
        if (!HandleFileInUse(directory, entry.installedNameId, yesToAll))
            return false;
    }
    ScheduleDirectoryLevels(directory);
    for (UINT tree : kTreeNames) {
        wchar_t name[256];
        LoadBankString(LangBase + tree, name, std::size(name));
        RemoveTree(directory, name, trees);
    }
    SetCopyPercent(90);
    return true;
}
