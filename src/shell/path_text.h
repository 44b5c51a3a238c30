#pragma once
// Directory paths end with a backslash and are joined to file names by plain
// concatenation, always within the buffer's size. A directory that comes
// without its backslash (typed on a command line) gets one at the join.
#include <stddef.h>

#include "shell/setup_state.h"

// Room for a directory path (up to 260 characters) joined to a file name.
constexpr int kJoinedPathChars = 2 * 260;

// Appends a backslash unless `path` is empty or ends with one; false when
// there is no room for it.
bool AppendBackslash(wchar_t* path, size_t chars);

// `output` = `directory` followed by `name`, with a backslash between them
// when `directory` ends with none (a drive's "C:" excepted, which names its
// current directory) and `name` does not begin with one; false, with
// `output` cut to fit, when they do not fit in `chars` characters with the
// terminator.
bool JoinPath(wchar_t* output, size_t chars, const wchar_t* directory, const wchar_t* name);

// The directory of the running program, with its backslash; false, with
// `directory` empty, when the system cut its path (it names some other
// file then) or the path names no directory.
bool GetProgramDirectory(wchar_t (&directory)[kPathChars]);
