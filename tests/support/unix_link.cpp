#include "support/unix_link.h"

#include <windows.h>

#include <cstring>

#include "support/setup_process.h"

namespace support {

bool RunUnix(const wchar_t* command, std::initializer_list<std::wstring> paths, const std::function<bool()>& done)
{
    using UnixName = char* CDECL(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    std::wstring commandLine = command;
    for (const std::wstring& path : paths) {
        char* name = unixName ? unixName(path.c_str()) : nullptr;
        if (!name)
            return false;
        commandLine += L" \"" + std::wstring(name, name + strlen(name)) + L"\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return WaitUntil(done);
}

UnixLink::UnixLink(const std::wstring& link, const std::wstring& target)
    : link_(link), made_(RunUnix(L"/bin/ln -s", {target, link}, [&] { return Exists(link); }))
{
}

UnixLink::~UnixLink()
{
    if (made_)
        RunUnix(L"/bin/rm -f", {link_}, [&] { return !Exists(link_); });
}

}  // namespace support
