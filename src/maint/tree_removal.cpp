// Deleting a directory tree now. A junction or a symbolic link inside it
// may point anywhere (another drive, the user's documents): it is removed as
// a link and never descended into.
#include <string>

#include "maint/file_removal.h"

namespace {

bool IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void RemoveEntry(const std::wstring& path, const WIN32_FIND_DATAW& entry)
{
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ForceDeleteFile(path.c_str());
        return;
    }
    if (!IsLink(entry.dwFileAttributes))
        DeleteDirectoryContents((path + L"\\").c_str());
    RemoveDirectoryW(path.c_str());
}

}  // namespace

int DeleteDirectoryContents(const wchar_t* directory)
{
    DWORD attributes = GetFileAttributesW(directory);
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLink(attributes))
        return 0;
    const std::wstring base = directory;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((base + L"*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 1;
    do {
        if (lstrcmpW(entry.cFileName, L".") != 0 && lstrcmpW(entry.cFileName, L"..") != 0)
            RemoveEntry(base + entry.cFileName, entry);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return 1;
}
