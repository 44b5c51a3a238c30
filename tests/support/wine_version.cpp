#include "support/wine_version.h"

#include <windows.h>

#include <string>

namespace support {

int RunAsWineVersion(const wchar_t* version, const std::function<int()>& run)
{
    const wchar_t kChildVariable[] = L"TAPEWRIGHT_TEST_VERSION_RUN";
    if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0)
        return run();
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    const wchar_t* name = wcsrchr(path, L'\\');
    if (length == 0 || length >= ARRAYSIZE(path) || !name)
        return 2;
    const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + (name + 1);
    if (RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version,
                        static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        return 2;
    SetEnvironmentVariableW(kChildVariable, version);
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD exitCode = 2;
    if (CreateProcessW(path, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    return static_cast<int>(exitCode);
}

}  // namespace support
