#include "registry/environment_probes.h"
#include "shell/handles.h"

#include <stdlib.h>
#include <string.h>

namespace {

const wchar_t kCurrentVersionKey[] = L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion";
const wchar_t kBuildNumberValue[] = L"CurrentBuildNumber";
const wchar_t kNetworkProviderKey[] = L"SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\networkprovider";
const wchar_t kDeviceNameValue[] = L"Devicename";

// The prefix as it is sometimes found, and as the system writes it.
const wchar_t kLowerDevicePrefix[] = L"\\device\\";
const wchar_t kDevicePrefix[] = L"\\Device\\";
constexpr int kDevicePrefixChars = 8;

constexpr DWORD kBuildNumberBytes = 200;
constexpr DWORD kDeviceNameBytes = 1024;

bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

int GetNtBuildNumber()
{
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return kFallbackBuildNumber;
    // One character more than the value may fill, so that text read without
    // its terminator still ends inside the buffer.
    wchar_t text[kBuildNumberBytes / sizeof(wchar_t) + 1];
    DWORD bytes = kBuildNumberBytes;
    DWORD type = REG_NONE;
    LONG error =
        RegQueryValueExW(key.get(), kBuildNumberValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    if (error != ERROR_SUCCESS || !IsText(type))
        return kFallbackBuildNumber;
    text[bytes / sizeof(wchar_t)] = 0;
    return static_cast<int>(wcstol(text, nullptr, 10));
}

LONG FixNetworkProviderDeviceName()
{
    RegistryKey key;
    LONG error = key.Open(HKEY_LOCAL_MACHINE, kNetworkProviderKey, KEY_ALL_ACCESS);
    if (error != ERROR_SUCCESS)
        return error;
    wchar_t name[kDeviceNameBytes / sizeof(wchar_t)];
    DWORD bytes = kDeviceNameBytes;
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key.get(), kDeviceNameValue, nullptr, &type, reinterpret_cast<BYTE*>(name), &bytes) ==
            ERROR_SUCCESS &&
        IsText(type) && bytes >= kDevicePrefixChars * sizeof(wchar_t) &&
        wcsncmp(name, kLowerDevicePrefix, kDevicePrefixChars) == 0) {
        memcpy(name, kDevicePrefix, kDevicePrefixChars * sizeof(wchar_t));
        RegSetValueExW(key.get(), kDeviceNameValue, 0, type, reinterpret_cast<const BYTE*>(name), bytes);
    }
    return key.CloseReporting();
}
