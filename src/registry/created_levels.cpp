#include "registry/created_levels.h"

#include <wchar.h>
#include <windows.h>

#include "registry/product_keys.h"
#include "shell/handles.h"

namespace {

bool Holds(const std::vector<std::wstring>& levels, const std::wstring& level)
{
    for (const std::wstring& held : levels)
        if (lstrcmpiW(held.c_str(), level.c_str()) == 0)
            return true;
    return false;
}

}  // namespace

bool ReadCreatedLevels(std::vector<std::wstring>& levels)
{
    levels.clear();
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    DWORD type = REG_NONE, bytes = 0;
    if (RegQueryValueExW(key.get(), kCreatedLevelsValue, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return false;
    // One more character than the value holds, so that a value written
    // without its terminators still ends.
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key.get(), kCreatedLevelsValue, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &bytes) != ERROR_SUCCESS)
        return false;
    for (const wchar_t* level = text.data(); *level; level += wcslen(level) + 1)
        levels.emplace_back(level);
    return true;
}

bool MergeCreatedLevels(const std::vector<std::wstring>& levels)
{
    std::vector<std::wstring> record;
    ReadCreatedLevels(record);
    for (const std::wstring& level : levels)
        if (!level.empty() && !Holds(record, level))
            record.push_back(level);
    std::wstring text;
    for (const std::wstring& level : record)
        text += level + L'\0';
    text += L'\0';
    RegistryKey key;
    return key.Create(HKEY_LOCAL_MACHINE, kUninstallKey) == ERROR_SUCCESS &&
           RegSetValueExW(key.get(), kCreatedLevelsValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void ForgetCreatedLevels()
{
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        RegDeleteValueW(key.get(), kCreatedLevelsValue);
}
