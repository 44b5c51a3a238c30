#pragma once
// What an install changes on disk before its copy completes, kept so that a
// failed or cancelled install can put it all back: the files it replaces or
// deletes are moved aside into a folder of the run's own in the product
// directory (the same volume, so the move keeps their times and attributes
// and costs nothing), the system's copy of a version-checked file is copied
// there before it may be replaced, and the files and directories the run
// makes are noted. The install sequence opens the journal when it starts and
// ends it when the copy has completed or the install has failed. Without an
// open journal (the loader module) files are written as they always were.
#include <windows.h>

#include <string>
#include <vector>

#include "shell/handles.h"

// Opens a new journal: nothing recorded, no folder of its own yet.
void BeginFileJournal();

// The directory (the product directory) in which the run's folder is made
// when the first file is set aside or copied.
void SetJournalDirectory(const wchar_t* directory);

// Notes a directory that the run has just created.
void RecordCreatedDirectory(const wchar_t* path);

// Before the file at `path` is replaced or removed: moves it into the run's
// folder, or notes that the run makes the path when nothing is there. A
// directory at `path` is not the run's and stays as it is. True when the
// path may be written; false when a file there could not be moved (it is
// then untouched). Without an open journal: true, nothing done.
bool SetAsideFile(const wchar_t* path);

// Before a version-checked install may replace the file at `path`: copies
// it into the run's folder (the check needs it in its place), or notes that
// the run makes the path. True when it may be replaced; false when the copy
// could not be made. Without an open journal: true, nothing done.
bool KeepCopyOfFile(const wchar_t* path);

// Names the owner of the file the copy is writing while it writes it, so
// that an undo at the end of the session, which runs under the copy, can
// close it before removing it.
class FileBeingWritten {
public:
    explicit FileBeingWritten(FileHandle& file);
    ~FileBeingWritten();
    FileBeingWritten(const FileBeingWritten&) = delete;
    FileBeingWritten& operator=(const FileBeingWritten&) = delete;
};

// The copy has completed: the files set aside and copied are deleted with
// the run's folder (what is in use then goes at the next restart), and the
// journal is closed.
void CloseFileJournal();

// The install failed: in the reverse order of the changes, what the run
// made is deleted, what it set aside is moved back and a replaced system
// file is copied back, both with their times and attributes; the
// directories it created go when empty, and so does its folder. A file that
// cannot be put back is reported with the place of its earlier copy, which
// stays there (unattended: not shown). True when everything was put back.
bool RollBackFileJournal();

// The directories that the last journal recorded, in the order they were
// made; they stay known after the journal is closed.
const std::vector<std::wstring>& CreatedDirectories();
