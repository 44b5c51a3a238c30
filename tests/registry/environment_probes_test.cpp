// The probes of the system's configuration against the prefix's own keys,
// each value put back as it was afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry/environment_probes.h"
#include "support/install_support.h"

namespace {

const std::wstring kCurrentVersion = L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion";
const std::wstring kWorkstation = L"SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation";
const std::wstring kProvider = kWorkstation + L"\\networkprovider";

LONG Put(const std::wstring& key, const wchar_t* name, DWORD type, const std::wstring& text)
{
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, type, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A value of HKEY_LOCAL_MACHINE, put back as it was when the object goes.
class SavedValue {
public:
    SavedValue(const std::wstring& key, const wchar_t* name)
        : key_(key), name_(name), saved_(ReadRegistryValue(key, name)) {}
    ~SavedValue()
    {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_);
        if (saved_.present)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_, saved_.type, saved_.bytes.data(),
                            static_cast<DWORD>(saved_.bytes.size()));
    }

private:
    std::wstring key_;
    const wchar_t* name_;
    RegistryValue saved_;
};

TEST(EnvironmentProbes, TheBuildNumberIsReadByNameAsDecimalTextElse528)
{
    SavedValue build(kCurrentVersion, L"CurrentBuildNumber");
    // Sorted before every other value, and longer than a build number.
    SavedValue longFirst(kCurrentVersion, L"!first");
    ASSERT_EQ(Put(kCurrentVersion, L"!first", REG_SZ, std::wstring(300, L'x')), ERROR_SUCCESS);

    const struct {
        DWORD type;  // REG_NONE: the value is missing
        const wchar_t* text;
        int build;
    } cases[] = {{REG_SZ, L"807", 807}, {REG_SZ, L"  1057 (SP5)", 1057}, {REG_SZ, L"none", 0},
                 {REG_BINARY, L"1381", kFallbackBuildNumber}, {REG_NONE, L"", kFallbackBuildNumber}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kCurrentVersion.c_str(), L"CurrentBuildNumber");
        if (c.type != REG_NONE) {
            ASSERT_EQ(Put(kCurrentVersion, L"CurrentBuildNumber", c.type, c.text), ERROR_SUCCESS);
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored + L" type " + std::to_wstring(c.type));
        ASSERT_EQ(Put(kProvider, L"Devicename", c.type, c.stored), ERROR_SUCCESS);
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
