#include "payload_io.h"

#include <lzexpand.h>

#include <algorithm>

namespace {

class OwnedFile {
public:
    explicit OwnedFile(HANDLE handle) : handle_(handle) {}
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;
    ~OwnedFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class LzFile {
public:
    explicit LzFile(INT file) : file_(file) {}
    LzFile(const LzFile&) = delete;
    LzFile& operator=(const LzFile&) = delete;
    ~LzFile()
    {
        if (file_ >= 0)
            LZClose(file_);
    }
    INT get() const { return file_; }
    bool valid() const { return file_ >= 0; }

private:
    INT file_;
};

class Search {
public:
    Search(const std::wstring& pattern, WIN32_FIND_DATAW* entry) : handle_(FindFirstFileW(pattern.c_str(), entry)) {}
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
    ~Search()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    bool found() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAW* entry) { return FindNextFileW(handle_, entry) != FALSE; }

private:
    HANDLE handle_;
};

bool IsDotEntry(const WIN32_FIND_DATAW& entry)
{
    return entry.cFileName[0] == L'.';
}

bool IsFolder(const WIN32_FIND_DATAW& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Setup checks the files against it; no method installs it.
bool IsChecksumList(const WIN32_FIND_DATAW& entry)
{
    return lstrcmpiW(entry.cFileName, L"checksum.lst") == 0;
}

}  // namespace

std::vector<std::wstring> ShareFiles(const std::wstring& share)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    Search search(share + L"*", &entry);
    if (!search.found())
        return names;
    do {
        if (!IsFolder(entry) && !IsDotEntry(entry) && !IsChecksumList(entry))
            names.push_back(entry.cFileName);
    } while (search.Next(&entry));
    std::sort(names.begin(), names.end());
    return names;
}

bool ExpandFile(const std::wstring& from, const std::wstring& to, std::vector<char>& buffer,
                const std::function<void(bool edge)>& afterBlock, ULONGLONG* bytes)
{
    HANDLE source = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return false;
    // Once LZInit accepts the handle, LZClose closes it.
    LzFile reader(LZInit(static_cast<INT>(reinterpret_cast<INT_PTR>(source))));
    if (!reader.valid()) {
        CloseHandle(source);
        return false;
    }
    OwnedFile target(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!target.valid())
        return false;
    const INT block = static_cast<INT>(buffer.size());
    bool first = true;
    INT count;
    do {
        count = LZRead(reader.get(), buffer.data(), block);
        if (count < 0)
            return false;
        DWORD written = 0;
        if (count > 0 && (!WriteFile(target.get(), buffer.data(), static_cast<DWORD>(count), &written, nullptr) ||
                          written != static_cast<DWORD>(count)))
            return false;
        *bytes += static_cast<ULONGLONG>(count);
        afterBlock(first || count < block);
        first = false;
    } while (count == block);
    return true;
}

bool LzCopyFile(const std::wstring& from, const std::wstring& to, ULONGLONG* bytes)
{
    OFSTRUCT fromState;
    OFSTRUCT toState;
    LzFile source(LZOpenFileW(const_cast<LPWSTR>(from.c_str()), &fromState, OF_READ));
    LzFile target(LZOpenFileW(const_cast<LPWSTR>(to.c_str()), &toState, OF_CREATE));
    if (!source.valid() || !target.valid())
        return false;
    LONG copied = LZCopy(source.get(), target.get());
    if (copied < 0)
        return false;
    *bytes += static_cast<ULONGLONG>(copied);
    return true;
}

bool RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    {
        Search search(folder + L"*", &entry);
        if (search.found()) {
            do {
                std::wstring path = folder + entry.cFileName;
                if (IsFolder(entry)) {
                    if (wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0)
                        RemoveTree(path + L"\\");
                } else {
                    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(path.c_str());
                }
            } while (search.Next(&entry));
        }
    }
    RemoveDirectoryW(folder.c_str());
    return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

ULONGLONG TreeBytes(const std::wstring& folder)
{
    ULONGLONG total = 0;
    WIN32_FIND_DATAW entry;
    Search search(folder + L"*", &entry);
    if (!search.found())
        return 0;
    do {
        if (IsFolder(entry)) {
            if (wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0)
                total += TreeBytes(folder + entry.cFileName + L"\\");
        } else {
            total += static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
        }
    } while (search.Next(&entry));
    return total;
}
