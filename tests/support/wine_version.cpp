#include "support/wine_version.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t kChildVariable[] = L"TAPEWRIGHT_TEST_VERSION_RUN";

std::wstring AppDefaultsKey()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path))
        return std::wstring();
    const wchar_t* name = wcsrchr(path, L'\\');
    return std::wstring(L"Software\\Wine\\AppDefaults\\") + (name ? name + 1 : path);
}

}  // namespace

int RunAsWineVersion(const wchar_t* version, const std::function<int()>& run)
{
    if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0)
        return run();
    const std::wstring key = AppDefaultsKey();
    if (key.empty() || RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version,
                                       static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        return 2;
    SetEnvironmentVariableW(kChildVariable, version);

    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, ARRAYSIZE(module));
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    DWORD exitCode = 2;
    if (CreateProcessW(module, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    return static_cast<int>(exitCode);
}
