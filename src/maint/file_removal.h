#pragma once
// Removing the product's files: the installed files of the file table, the
// data and catalog trees, and the product directory's levels, which go at
// the next restart.
#include <windows.h>

#include "shell/string_bank.h"

// How the DATA and CATALOGS trees go: with everything in them, or only when
// they are empty.
enum class TreeRemoval { WithContents, OnlyWhenEmpty };

// Deletes every file-table file of the product directory `directory`
// (ending in a backslash); a file in use goes at the next restart or stays,
// as the user answers, and setup itself always goes then. Schedules the
// directory's levels that its installs recorded as created (without a
// record, the directory alone) and forgets the record, then removes the
// DATA and CATALOGS trees as `trees` says; a tree that is a link stays. True
// when done, false when the user cancelled.
bool RemoveInstalledFiles(const wchar_t* directory, TreeRemoval trees);

// Deletes `name` in `directory`. True when it is gone, was absent, or could
// not be deleted for a reason other than being in use (after its message);
// false when it is still in use after one retry.
bool DeleteInstalledFile(const wchar_t* directory, TextRef name);

// Deletes a file whatever its read-only, hidden and system attributes.
// True when deleted; else false with the error left for GetLastError.
bool ForceDeleteFile(const wchar_t* path);

// Has the system delete `path` (a file or an empty directory) at the next
// restart; a read-only file loses that attribute first, since the restart
// leaves such files. A failure is reported; false then.
bool ScheduleDeletion(const wchar_t* path);

// True when `directory` (with or without its trailing backslash) is a
// junction or a symbolic link, or is reached through one from its parent.
bool IsLinkedDirectory(const wchar_t* directory);

// Deletes everything below `directory` (ending in a backslash) now, without
// following junctions or symbolic links: a link stays, and so does what it
// points to. What cannot be deleted stays, silently. False when `directory`
// is itself such a link, else true.
bool DeleteDirectoryContents(const wchar_t* directory);
