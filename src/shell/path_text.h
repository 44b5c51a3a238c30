#pragma once
// Directory paths end with a backslash and are joined to file names by plain
// concatenation, always within the buffer's size.
#include <stddef.h>

// Room for a directory path (up to 260 characters) joined to a file name.
constexpr int kJoinedPathChars = 2 * 260;

// Appends a backslash unless `path` is empty or ends with one; false when
// there is no room for it.
bool AppendBackslash(wchar_t* path, size_t chars);

// `output` = `directory` followed by `name`; false, with `output` cut to fit,
// when the two do not fit in `chars` characters with the terminator.
bool JoinPath(wchar_t* output, size_t chars, const wchar_t* directory, const wchar_t* name);
