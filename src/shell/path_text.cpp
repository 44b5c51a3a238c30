#include "shell/path_text.h"

#include <wchar.h>

#include <windows.h>

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
    wchar_t last = directoryLength > 0 ? directory[directoryLength - 1] : L'\\';
    bool separator = last != L'\\' && last != L'/' && last != L':' && nameLength > 0 && name[0] != L'\\';
    bool fits = directoryLength + (separator ? 1 : 0) + nameLength < chars;
    size_t used = directoryLength < chars - 1 ? directoryLength : chars - 1;
    wmemmove(output, directory, used);
    if (separator && used < chars - 1)
        output[used++] = L'\\';
    size_t second = nameLength < chars - 1 - used ? nameLength : chars - 1 - used;
    wmemmove(output + used, name, second);
    output[used + second] = 0;
    return fits;
}

bool GetProgramDirectory(wchar_t (&directory)[kPathChars])
{
    // A path that does not fit comes back cut, as long as the buffer and
    // without a terminator.
    DWORD length = GetModuleFileNameW(nullptr, directory, kPathChars);
    if (length == 0 || length >= kPathChars) {
        directory[0] = 0;
        return false;
    }
    if (wchar_t* backslash = wcsrchr(directory, L'\\')) {
        backslash[1] = 0;
        return true;
    }
    // A bare drive and file name: that drive's root.
    wchar_t* colon = wcsrchr(directory, L':');
    if (colon && colon + 2 < directory + kPathChars) {
        lstrcpyW(colon, L":\\");
        return true;
    }
    directory[0] = 0;
    return false;
}
