#include "support/unix_link.h"

#include <windows.h>

#include "support/setup_process.h"

namespace support {

std::string UnixPath(const std::wstring& path)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* converted = toUnix ? toUnix(path.c_str()) : nullptr;
    std::string result = converted ? converted : "";
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

bool RunUnix(const wchar_t* command, std::initializer_list<std::wstring> paths, const std::function<bool()>& done)
{
    std::wstring commandLine = command;
    for (const std::wstring& path : paths) {
        const std::string name = UnixPath(path);
        if (name.empty())
            return false;
        commandLine += L" \"" + std::wstring(name.begin(), name.end()) + L"\"";
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
