// Deleting a directory tree now. A junction or a symbolic link inside it
// may point anywhere (another drive, the user's documents): it is left where
// it is, never descended into, and nothing is deleted through it. Even
// removing the link alone is not safe: Wine removes what it points to, an
// empty folder or a file.
#include <string>

#include "maint/file_removal.h"
#include "shell/handles.h"
#include "shell/late_bound.h"

namespace {

using FinalPathFunction = decltype(GetFinalPathNameByHandleW);

std::wstring WithoutBackslash(std::wstring path)
{
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

// Where the system takes `path` when it opens it, links followed, without a
// trailing backslash; empty when it cannot be opened. A system that cannot
// tell (one older than links to files) gives the path as it is: its
// junctions show in their attributes.
std::wstring ResolvedPath(const std::wstring& path)
{
    static const auto finalPath = LateBound<FinalPathFunction>(L"kernel32.dll", "GetFinalPathNameByHandleW");
    if (!finalPath)
        return WithoutBackslash(path);
    FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return L"";
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length = finalPath(file.get(), &resolved[0], MAX_PATH, FILE_NAME_NORMALIZED);
    if (length >= MAX_PATH) {
        resolved.resize(length);
        length = finalPath(file.get(), &resolved[0], length, FILE_NAME_NORMALIZED);
    }
    resolved.resize(length < resolved.size() ? length : 0);
    return WithoutBackslash(resolved);
}

// True when the entry `name` of the directory that resolves to
// `resolvedParent` is a link: the system flags a junction or a link to a
// directory, but Wine does not flag a link to a file, which only shows in
// where the entry leads.
bool IsLink(DWORD attributes, const std::wstring& resolved, const std::wstring& resolvedParent, const wchar_t* name)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
           lstrcmpiW(resolved.c_str(), (resolvedParent + L"\\" + name).c_str()) != 0;
}

void DeleteContents(const std::wstring& base, const std::wstring& resolvedBase);

void RemoveEntry(const std::wstring& base, const std::wstring& resolvedBase, const WIN32_FIND_DATAW& entry)
{
    const std::wstring path = base + entry.cFileName;
    const std::wstring resolved = ResolvedPath(path);
    if (IsLink(entry.dwFileAttributes, resolved, resolvedBase, entry.cFileName))
        return;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ForceDeleteFile(path.c_str());
        return;
    }
    DeleteContents(path + L"\\", resolved);
    RemoveDirectoryW(path.c_str());
}

void DeleteContents(const std::wstring& base, const std::wstring& resolvedBase)
{
    WIN32_FIND_DATAW entry;
    FindHandle search(FindFirstFileW((base + L"*.*").c_str(), &entry));
    if (!search)
        return;
    do {
        if (lstrcmpW(entry.cFileName, L".") != 0 && lstrcmpW(entry.cFileName, L"..") != 0)
            RemoveEntry(base, resolvedBase, entry);
    } while (FindNextFileW(search.get(), &entry));
}

}  // namespace

bool IsLinkedDirectory(const wchar_t* directory)
{
    // The attributes of a link to a directory show it only when asked
    // without the trailing backslash.
    const std::wstring path = WithoutBackslash(directory);
    DWORD attributes = GetFileAttributesW(path.c_str());
    size_t backslash = path.rfind(L'\\');
    if (attributes == INVALID_FILE_ATTRIBUTES || backslash == std::wstring::npos)
        return false;
    return IsLink(attributes, ResolvedPath(path), ResolvedPath(path.substr(0, backslash + 1)),
                  path.c_str() + backslash + 1);
}

bool DeleteDirectoryContents(const wchar_t* directory)
{
    if (IsLinkedDirectory(directory))
        return false;
    DeleteContents(directory, ResolvedPath(directory));
    return true;
}
