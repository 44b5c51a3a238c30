#include "files/install_journal.h"

#include <wchar.h>

#include <iterator>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The run's folder: a name no product file has, numbered so that a folder
// left by a run that never ended (the power failed) is not reused.
constexpr wchar_t kFolderPattern[] = L"~TWUNDO.%03u";
constexpr unsigned kFolderNumbers = 1000;

enum class Earlier {
    None,    // the run made the path
    Moved,   // the earlier file was moved into the run's folder
    Copied,  // the earlier file stayed in place; a copy is in the run's folder
};

struct JournalEntry {
    std::wstring path;
    Earlier earlier;
    std::wstring copy;  // where the earlier file is kept
};

struct JournalState {
    bool open = false;
    std::wstring home;    // with its backslash
    std::wstring folder;  // with its backslash, once made
    std::vector<JournalEntry> files;
    std::vector<std::wstring> directories;
    FileHandle* writing = nullptr;
};
JournalState State;

bool Recorded(const wchar_t* path)
{
    for (const JournalEntry& entry : State.files)
        if (lstrcmpiW(entry.path.c_str(), path) == 0)
            return true;
    return false;
}

bool MakeFolder()
{
    if (!State.folder.empty())
        return true;
    if (State.home.empty())
        return false;
    for (unsigned number = 0; number < kFolderNumbers; ++number) {
        wchar_t name[16];
        wsprintfW(name, kFolderPattern, number);
        std::wstring folder = State.home + name;
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
            State.folder = folder + L"\\";
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// Where the earlier file at `path` is kept: its name in the run's folder.
bool KeepingPlace(const wchar_t* path, std::wstring& copy)
{
    const wchar_t* name = wcsrchr(path, L'\\');
    if (!name || !MakeFolder())
        return false;
    copy = State.folder + (name + 1);
    return true;
}

// Whether the journal takes `path` on: false when nothing is to be noted
// (no journal, noted already, or a directory stands there). `exists` tells
// whether a file is there.
bool TakesOn(const wchar_t* path, bool& exists)
{
    if (!State.open || Recorded(path))
        return false;
    const DWORD attributes = GetFileAttributesW(path);
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    return !(exists && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// Notes `path` before the run writes it: a file there is kept in the run's
// folder as `kept` says (moved away, or copied and left in place); without
// one, the run makes the path. False when the file could not be kept.
bool Note(const wchar_t* path, Earlier kept)
{
    bool exists = false;
    if (!TakesOn(path, exists))
        return true;
    JournalEntry entry{path, Earlier::None, {}};
    if (exists) {
        if (!KeepingPlace(path, entry.copy))
            return false;
        const BOOL keptThere = kept == Earlier::Moved ? MoveFileW(path, entry.copy.c_str())
                                                      : CopyFileW(path, entry.copy.c_str(), TRUE);
        if (!keptThere)
            return false;
        entry.earlier = kept;
    }
    State.files.push_back(entry);
    return true;
}

bool DeleteWhateverAttributes(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    SetFileAttributesW(path, attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    return DeleteFileW(path) != FALSE;
}

bool SameFile(const wchar_t* a, const wchar_t* b)
{
    WIN32_FILE_ATTRIBUTE_DATA first, second;
    return GetFileAttributesExW(a, GetFileExInfoStandard, &first) &&
           GetFileAttributesExW(b, GetFileExInfoStandard, &second) &&
           first.nFileSizeLow == second.nFileSizeLow && first.nFileSizeHigh == second.nFileSizeHigh &&
           CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) == 0;
}

void ReportNotRestored(const JournalEntry& entry)
{
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_RESTORE_TEXT, entry.path.c_str(), entry.copy.c_str());
    AskUser(LangBase + IDS_RESTORE_TITLE, text, MB_OK, MB_ICONSTOP, IDOK);
}

// Puts back what was at the entry's path before the run; false, with the
// earlier copy left where it is, when that cannot be done.
bool PutBack(const JournalEntry& entry)
{
    const wchar_t* path = entry.path.c_str();
    const wchar_t* copy = entry.copy.c_str();
    switch (entry.earlier) {
    case Earlier::None:
        // What cannot be removed is no earlier file lost: nothing to report.
        DeleteWhateverAttributes(path);
        return true;
    case Earlier::Moved:
        return DeleteWhateverAttributes(path) && MoveFileW(copy, path);
    case Earlier::Copied:
        if (!SameFile(path, copy)) {
            const DWORD attributes = GetFileAttributesW(path);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
            if (!CopyFileW(copy, path, FALSE))
                return false;
        }
        DeleteWhateverAttributes(copy);
        return true;
    }
    return false;
}

// Deletes a file of the run's folder, or has the restart delete it when a
// program still holds it.
void DiscardKept(const wchar_t* path)
{
    if (!DeleteWhateverAttributes(path))
        MoveFileExW(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void CloseJournal()
{
    State.open = false;
    State.files.clear();
    State.folder.clear();
    State.writing = nullptr;
}

}  // namespace

void BeginFileJournal()
{
    State = {};
    State.open = true;
}

void SetJournalDirectory(const wchar_t* directory)
{
    wchar_t home[kPathChars];
    lstrcpynW(home, directory, kPathChars);
    if (AppendBackslash(home, kPathChars))
        State.home = home;
}

void RecordCreatedDirectory(const wchar_t* path)
{
    if (State.open)
        State.directories.push_back(path);
}

bool SetAsideFile(const wchar_t* path)
{
    return Note(path, Earlier::Moved);
}

bool KeepCopyOfFile(const wchar_t* path)
{
    return Note(path, Earlier::Copied);
}

FileBeingWritten::FileBeingWritten(FileHandle& file)
{
    State.writing = &file;
}

FileBeingWritten::~FileBeingWritten()
{
    State.writing = nullptr;
}

void CloseFileJournal()
{
    for (const JournalEntry& entry : State.files)
        if (entry.earlier != Earlier::None)
            DiscardKept(entry.copy.c_str());
    if (!State.folder.empty() && !RemoveDirectoryW(State.folder.c_str()))
        MoveFileExW(State.folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    CloseJournal();
}

bool RollBackFileJournal()
{
    if (!State.open)
        return true;
    if (State.writing)
        State.writing->Close();
    bool every = true;
    for (auto entry = State.files.rbegin(); entry != State.files.rend(); ++entry) {
        if (!PutBack(*entry)) {
            every = false;
            ReportNotRestored(*entry);
        }
    }
    // Only empty ones go: the folder keeps what could not be put back.
    if (!State.folder.empty())
        RemoveDirectoryW(State.folder.c_str());
    for (auto directory = State.directories.rbegin(); directory != State.directories.rend(); ++directory)
        RemoveDirectoryW(directory->c_str());
    CloseJournal();
    return every;
}

const std::vector<std::wstring>& CreatedDirectories()
{
    return State.directories;
}
