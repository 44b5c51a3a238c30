// bare_expand SHARE OUT, each folder given with its final backslash
//
// The least a program can do to install the share's compressed files the way
// setup must: expand each with LZRead in 8 KB blocks, write each block, and
// look at the message queue twice after every block. The install benchmark
// times it, start to exit, against setup.exe doing the whole install.
#include <windows.h>
#include <lzexpand.h>

#include <string>
#include <vector>

namespace {

void DrainQueue()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Expand(const std::wstring& from, const std::wstring& to, std::vector<char>& buffer)
{
    HANDLE source = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return;
    INT reader = LZInit(static_cast<INT>(reinterpret_cast<INT_PTR>(source)));
    HANDLE target = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    INT count;
    do {
        count = LZRead(reader, buffer.data(), static_cast<INT>(buffer.size()));
        DWORD written = 0;
        if (count > 0)
            WriteFile(target, buffer.data(), static_cast<DWORD>(count), &written, nullptr);
        DrainQueue();
        DrainQueue();
    } while (count == static_cast<INT>(buffer.size()));
    CloseHandle(target);
    LZClose(reader);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    std::wstring share = argv[1];
    std::wstring out = argv[2];
    CreateDirectoryW(out.c_str(), nullptr);
    std::vector<char> buffer(8192);
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((share + L"*_").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 1;
    do {
        Expand(share + entry.cFileName, out + entry.cFileName, buffer);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return 0;
}
