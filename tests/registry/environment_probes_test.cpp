// The probes of the system's configuration against the prefix's real keys,
// each value put back as it was: the build number read by name, and the
// network provider's device name brought into form.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry/environment_probes.h"
#include "support/install_support.h"

namespace {

const std::wstring kCurrentVersion = L"SOFTWARE\\MICROSOFT\\Windows NT\\CurrentVersion";
const std::wstring kWorkstation = L"SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation";
const std::wstring kProvider = kWorkstation + L"\\networkprovider";

void Put(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, type, data, bytes), ERROR_SUCCESS);
}

void PutText(const std::wstring& key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
{
    Put(key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void Remove(const std::wstring& key, const wchar_t* name)
{
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name);
}

// A value of HKEY_LOCAL_MACHINE as it was, put back when the object goes.
class SavedValue {
public:
    SavedValue(const std::wstring& key, const wchar_t* name)
        : key_(key), name_(name), saved_(ReadRegistryValue(key, name)) {}
    ~SavedValue()
    {
        if (saved_.present)
            Put(key_, name_, saved_.type, saved_.bytes.data(), static_cast<DWORD>(saved_.bytes.size()));
        else
            Remove(key_, name_);
    }

private:
    std::wstring key_;
    const wchar_t* name_;
    RegistryValue saved_;
};

bool KeyExists(const std::wstring& key)
{
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

TEST(EnvironmentProbes, TheBuildNumberIsReadByNameAsDecimalTextOr528)
{
    SavedValue build(kCurrentVersion, L"CurrentBuildNumber");
    // Sorted before every value of the key, and longer than a build number.
    const wchar_t* const kLongFirst = L"!Long value enumerated first";
    SavedValue longFirst(kCurrentVersion, kLongFirst);
    PutText(kCurrentVersion, kLongFirst, std::wstring(300, L'x'));

    struct Case {
        const wchar_t* text;  // null: the value is missing
        int build;
    } cases[] = {{L"807", 807}, {L"  1057 (SP5)", 1057}, {L"528", 528}, {L"none", 0}, {nullptr, kFallbackBuildNumber}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : L"missing");
        if (c.text)
            PutText(kCurrentVersion, L"CurrentBuildNumber", c.text);
        else
            Remove(kCurrentVersion, L"CurrentBuildNumber");
        EXPECT_EQ(GetNtBuildNumber(), c.build);
    }
    const DWORD number = 1381;
    Put(kCurrentVersion, L"CurrentBuildNumber", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(GetNtBuildNumber(), kFallbackBuildNumber) << "not text";
}

TEST(EnvironmentProbes, OnlyADeviceNameTextStartingWithTheSmallPrefixIsChanged)
{
    const bool hadWorkstation = KeyExists(kWorkstation);
    ASSERT_FALSE(KeyExists(kProvider)) << "the prefix has no network provider key";
    EXPECT_EQ(FixNetworkProviderDeviceName(), ERROR_FILE_NOT_FOUND);

    struct Case {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored + L" type " + std::to_wstring(c.type));
        PutText(kProvider, L"Devicename", c.stored, c.type);
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
