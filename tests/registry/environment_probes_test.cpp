// The probes of the system's configuration against the prefix's own keys,
// each value put back as it was afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry/environment_probes.h"
#include "support/install_support.h"
#include "support/registry_override.h"

namespace {

const std::wstring kCurrentVersion = L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion";
const std::wstring kWorkstation = L"SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation";
const std::wstring kProvider = kWorkstation + L"\\networkprovider";

TEST(EnvironmentProbes, TheBuildNumberIsReadByNameAsDecimalTextElse528)
{
    RegistryOverride build(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber");
    // Sorted before every other value, and longer than a build number.
    RegistryOverride longFirst(HKEY_LOCAL_MACHINE, kCurrentVersion, L"!first");
    ASSERT_TRUE(longFirst.Set(std::wstring(300, L'x')));

    const struct {
        DWORD type;  // REG_NONE: the value is missing
        const wchar_t* text;
        int build;
    } cases[] = {{REG_SZ, L"807", 807}, {REG_SZ, L"  1057 (SP5)", 1057}, {REG_SZ, L"none", 0},
                 {REG_BINARY, L"1381", kFallbackBuildNumber}, {REG_NONE, L"", kFallbackBuildNumber}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        build.Remove();
        if (c.type != REG_NONE) {
            ASSERT_TRUE(build.Set(c.text, c.type));
        }
        EXPECT_EQ(GetNtBuildNumber(), c.build);
    }
}

TEST(EnvironmentProbes, OnlyADeviceNameTextStartingWithTheSmallPrefixIsChanged)
{
    HKEY workstation;
    const bool hadWorkstation =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWorkstation.c_str(), 0, KEY_READ, &workstation) == ERROR_SUCCESS;
    if (hadWorkstation)
        RegCloseKey(workstation);
    EXPECT_EQ(FixNetworkProviderDeviceName(), ERROR_FILE_NOT_FOUND) << "the prefix has no provider key";

    const struct {
        DWORD type;
        std::wstring stored;
        std::wstring expected;
    } cases[] = {
        {REG_SZ, L"\\device\\LanmanRedirector", L"\\Device\\LanmanRedirector"},
        {REG_EXPAND_SZ, L"\\device\\x", L"\\Device\\x"},
        {REG_SZ, L"\\Device\\LanmanRedirector", L"\\Device\\LanmanRedirector"},
        {REG_SZ, L"\\DEVICE\\LanmanRedirector", L"\\DEVICE\\LanmanRedirector"},
        {REG_BINARY, L"\\device\\LanmanRedirector", L"\\device\\LanmanRedirector"},
        {REG_SZ, L"\\dev", L"\\dev"},
    };
    RegistryOverride deviceName(HKEY_LOCAL_MACHINE, kProvider, L"Devicename");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + L" type " + std::to_wstring(c.type));
        ASSERT_TRUE(deviceName.Set(c.stored, c.type));
        EXPECT_EQ(FixNetworkProviderDeviceName(), ERROR_SUCCESS);
        RegistryValue value = ReadRegistryValue(kProvider, L"Devicename");
        EXPECT_EQ(value.type, c.type);
        EXPECT_EQ(value.bytes.size(), (c.stored.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ(value.Text(), c.expected);
    }
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kProvider.c_str());
    if (!hadWorkstation)
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kWorkstation.c_str());
}

}  // namespace
