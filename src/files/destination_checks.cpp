// The product directory before the copy: a prior installation to confirm,
// files held open by running programs, and files of older versions.
#include "files/destination_checks.h"

#include <iterator>

#include "files/file_table.h"
#include "files/install_journal.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/message_box.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

struct KnownFile {
    const wchar_t* name;
    int mark;  // non-zero: the file marks an installation of the backup application
};

// Files of earlier installations.
const KnownFile kKnownFiles[] = {
    {L"TWRESNT.DLL", 1}, {L"TWWINNT.EXE", 1}, {L"TWWINNT.HLP", 0}, {L"LAUNCHNT.EXE", 0},
    {L"LDRSETUP.EXE", 0}, {L"README.TXT", 0}, {L"LDRDLL.DLL", 0},
};

// Calls `action(fullPath, name, row)` for each file of `dir`, skipping
// directories, for which `match` gives a row (or -1); stops when the action
// returns false. True when no action stopped the scan.
template <typename Match, typename Action>
bool ScanDirectory(const wchar_t* dir, Match match, Action action)
{
    wchar_t pattern[kJoinedPathChars];
    JoinPath(pattern, kJoinedPathChars, dir, L"*.*");
    WIN32_FIND_DATAW entry;
    FindHandle search(FindFirstFileW(pattern, &entry));
    if (!search)
        return true;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        int row = match(entry.cFileName);
        if (row < 0)
            continue;
        wchar_t path[kJoinedPathChars];
        JoinPath(path, kJoinedPathChars, dir, entry.cFileName);
        if (!action(path, entry.cFileName, row))
            return false;
    } while (FindNextFileW(search.get(), &entry));
    return true;
}

int KnownFileRow(const wchar_t* name)
{
    for (int i = 0; i < static_cast<int>(sizeof kKnownFiles / sizeof kKnownFiles[0]); ++i)
        if (lstrcmpiW(name, kKnownFiles[i].name) == 0)
            return i;
    return -1;
}

// The file-table row installed into the product directory for the chosen
// install type under this name, or -1.
int ProductFileRow(const wchar_t* name)
{
    for (int i = 0; i < kFileCount; ++i) {
        const FileEntry& row = kFileTable[i];
        if (row.destination != kDestinationProduct || !(row.installTypes & InstallType))
            continue;
        wchar_t installed[kPathChars + 1];
        LoadBankString(LangBase + row.installedNameId, installed, std::size(installed));
        if (lstrcmpiW(name, installed) == 0)
            return i;
    }
    return -1;
}

// Whether no program holds the file: an open for exclusive writing tells.
// A read-only file would refuse it, so its attribute is lifted for the test
// and put back: the check changes nothing, and a failed install gives the
// file back as it was.
bool IsFree(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly)
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    FileHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool free = file || GetLastError() != ERROR_SHARING_VIOLATION;
    file.Close();
    if (readOnly)
        SetFileAttributesW(path, attributes);
    return free;
}

// True once the file is free; false when the user cancels while it is held
// open.
bool WaitUntilFree(const wchar_t* path, const wchar_t* name)
{
    for (;;) {
        if (IsFree(path))
            return true;
        wchar_t message[1025];
        FormatBankString(message, std::size(message), LangBase + IDS_IN_USE_TEXT, name);
        if (AskUser(LangBase + IDS_IN_USE_TITLE, message, MB_RETRYCANCEL, MB_ICONSTOP, IDCANCEL) != IDRETRY)
            return false;
    }
}

}  // namespace

int PriorInstallMask(const wchar_t* dir)
{
    int mask = 0;
    ScanDirectory(dir, KnownFileRow, [&mask](const wchar_t*, const wchar_t*, int row) {
        mask |= kKnownFiles[row].mark;
        return true;
    });
    return mask;
}

bool ConfirmPriorInstall(const wchar_t* dir)
{
    if (PriorInstallMask(dir) == 0)
        return false;
    int answer = AskUser(LangBase + IDS_PRIOR_TITLE, LangBase + IDS_PRIOR_QUESTION, MB_YESNO | MB_DEFBUTTON2,
                         MB_ICONQUESTION, IDYES);
    return answer == IDNO;
}

FilesInUse CheckFilesInUse(const wchar_t* dir)
{
    const bool free = ScanDirectory(dir, ProductFileRow, [](const wchar_t* path, const wchar_t* name, int) {
        return WaitUntilFree(path, name);
    });
    return free ? FilesInUse::Free : FilesInUse::Cancelled;
}

void DeleteKnownFiles(const wchar_t* dir)
{
    ScanDirectory(dir, KnownFileRow, [](const wchar_t* path, const wchar_t*, int) { return SetAsideFile(path); });
}
