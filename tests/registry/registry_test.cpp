// The product's registry configuration: a fault inside a registry call fails
// only that call, and the calls after it write as if it had not happened; a
// snapshot of it puts it back as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/environment_probes.h"
#include "registry/product_config.h"
#include "registry/product_defaults.h"
#include "registry/product_keys.h"
#include "registry/registry_snapshot.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/machine_snapshot.h"
#include "support/registry_override.h"

using namespace support;

namespace {

volatile LONG AccessViolations;

LONG CALLBACK CountAccessViolations(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&AccessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(Registry, FaultInsideTheRegistryCallsFailsOnlyThatCall)
{
    ResetSetupState();
    RemoveProductRegistry();
    const std::wstring tapewright = kProductKey;
    // Reserved but never committed: any read of it faults.
    void* unreadable = VirtualAlloc(nullptr, 65536, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(unreadable, nullptr);
    // Seen before the guard's handler, to show the platform really faulted
    // rather than refusing the pointer with an error code.
    PVOID observer = AddVectoredExceptionHandler(1, CountAccessViolations);
    const DWORD number = 7;
    const auto unreadableName = reinterpret_cast<const wchar_t*>(0x10);
    for (auto [name, data] : {std::pair<const wchar_t*, const void*>{L"Text", unreadable}, {unreadableName, &number}}) {
        SCOPED_TRACE(name == unreadableName ? "unreadable value name" : "unreadable text");
        AccessViolations = 0;
        EXPECT_FALSE(SetRegistryValue(HKEY_LOCAL_MACHINE, tapewright.c_str(), name, REG_SZ, data, 4));
        EXPECT_GE(AccessViolations, 1);
        AccessViolations = 0;
        EXPECT_TRUE(SetRegistryValue(HKEY_LOCAL_MACHINE, tapewright.c_str(), L"After", REG_DWORD, &number, 4));
        EXPECT_EQ(AccessViolations, 0);
    }
    RemoveVectoredExceptionHandler(observer);
    VirtualFree(unreadable, 0, MEM_RELEASE);
    EXPECT_EQ(ReadRegistryValue(tapewright, L"After").Number(), number);
    EXPECT_FALSE(ReadRegistryValue(tapewright, L"Text").present);
    EXPECT_TRUE(WriteRegistryDefaults(HKEY_LOCAL_MACHINE));
    // Every default of both tables, in its type and at its size: a number as
    // four bytes, a text with its terminator, the others whole.
    for (const RegistryDefault* table : {kFirstDefaults, kSecondDefaults}) {
        for (const RegistryDefault* row = table; row->key; ++row) {
            RegistryValue value = ReadRegistryValue(row->key, row->name);
            EXPECT_EQ(value.type, row->type) << row->name;
            std::vector<BYTE> expected(row->bytes, row->bytes + row->size);
            if (row->type == REG_DWORD) {
                EXPECT_EQ(value.Number(), row->number) << row->name;
                continue;
            }
            if (row->type == REG_SZ) {
                const BYTE* text = reinterpret_cast<const BYTE*>(row->text);
                expected.assign(text, text + (wcslen(row->text) + 1) * sizeof(wchar_t));
            }
            EXPECT_EQ(value.bytes, expected) << row->name;
        }
    }
    RemoveProductRegistry();
}

// A reinstall keeps every setting the user changed, in its own type, and
// points the paths at the new product directory. A failed one puts the tree
// back as it was read, whatever changed since, or removes it when there was
// none.
TEST(Registry, InstallOverAConfigurationKeepsSettingsAndRewritesPaths)
{
    ResetSetupState();
    RemoveProductRegistry();
    const std::wstring ui = kUserInterfaceKey;
    const wchar_t soon[] = L"soon", oldData[] = L"E:\\OLD\\";
    const BYTE twoBytes[] = {1, 2};
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ui.c_str(), L"Wait time", REG_SZ, soon, sizeof soon);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ui.c_str(), L"Search Limit", REG_BINARY, twoBytes, sizeof twoBytes);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ui.c_str(), L"Data Path", REG_SZ, oldData, sizeof oldData);
    MachineSnapshot before;
    AddRegistryTree(before, HKEY_LOCAL_MACHINE, kVelmarKey);
    RegistrySnapshot snapshot;
    snapshot.Take(HKEY_LOCAL_MACHINE, kVelmarKey);
    WriteProductConfiguration(L"C:\\TAPWRITE\\NT\\");
    EXPECT_EQ(ReadRegistryValue(ui, L"Wait time").Text(), soon);
    RegistryValue limit = ReadRegistryValue(ui, L"Search Limit");
    EXPECT_EQ(limit.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(limit.bytes, std::vector<BYTE>(twoBytes, twoBytes + 2));
    EXPECT_EQ(ReadRegistryValue(ui, L"Data Path").Text(), L"C:\\TAPWRITE\\NT\\DATA\\");
    EXPECT_EQ(ReadRegistryValue(ui, L"Eject Tape Flag").type, static_cast<DWORD>(REG_DWORD)) << "defaults still added";

    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ui.c_str(), L"Wait time");
    const DWORD four = 4;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, ui.c_str(), L"Search Limit", REG_DWORD, &four, sizeof four);
    EXPECT_TRUE(snapshot.Restore());
    MachineSnapshot restored;
    AddRegistryTree(restored, HKEY_LOCAL_MACHINE, kVelmarKey);
    EXPECT_EQ(Differences(before, restored), std::vector<std::wstring>{});
    RemoveProductRegistry();
    snapshot.Take(HKEY_LOCAL_MACHINE, kVelmarKey);
    WriteProductConfiguration(L"C:\\TAPWRITE\\NT\\");
    EXPECT_TRUE(snapshot.Restore());
    EXPECT_FALSE(ReadRegistryKey(kVelmarKey).exists);
}

// Only a text Devicename of the workstation's network provider starting with
// "\\device\\" is brought into the form "\\Device\\"; its type stays.
TEST(Registry, OnlyATextDeviceNameIsMended)
{
    const std::wstring provider = L"SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\networkprovider";
    RegistryOverride deviceName(HKEY_LOCAL_MACHINE, provider, L"Devicename");
    for (auto [type, expected] : {std::pair<DWORD, const wchar_t*>{REG_SZ, L"\\Device\\LanmanRedirector"},
                                  {REG_EXPAND_SZ, L"\\Device\\LanmanRedirector"},
                                  {REG_BINARY, L"\\device\\LanmanRedirector"}}) {
        ASSERT_TRUE(deviceName.Set(L"\\device\\LanmanRedirector", type));
        EXPECT_EQ(FixNetworkProviderDeviceName(), ERROR_SUCCESS);
        RegistryValue value = ReadRegistryValue(provider, L"Devicename");
        EXPECT_EQ(value.type, type);
        EXPECT_EQ(value.Text(), expected) << "type " << type;
    }
}

}  // namespace
