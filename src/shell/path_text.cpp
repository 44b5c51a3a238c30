#include "shell/path_text.h"

#include <wchar.h>

bool AppendBackslash(wchar_t* path, size_t chars)
{
    size_t length = wcslen(path);
    if (length == 0 || path[length - 1] == L'\\')
        return true;
    if (length + 2 > chars)
        return false;
    path[length] = L'\\';
    path[length + 1] = 0;
    return true;
}

bool JoinPath(wchar_t* output, size_t chars, const wchar_t* directory, const wchar_t* name)
{
    if (chars == 0)
        return false;
    size_t directoryLength = wcslen(directory);
    size_t nameLength = wcslen(name);
    bool fits = directoryLength + nameLength < chars;
    size_t first = directoryLength < chars - 1 ? directoryLength : chars - 1;
    wmemmove(output, directory, first);
    size_t second = nameLength < chars - 1 - first ? nameLength : chars - 1 - first;
    wmemmove(output + first, name, second);
    output[first + second] = 0;
    return fits;
}
