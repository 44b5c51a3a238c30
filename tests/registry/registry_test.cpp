// The product's registry configuration: a fault inside a registry call fails
// only that call, and the calls after it write as if it had not happened.
#include <gtest/gtest.h>

#include <string>

#include "registry/product_config.h"
#include "support/in_process.h"
#include "support/install_support.h"

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
    const std::wstring tapewright = L"Software\\Velmar\\Tapewright";
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
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, tapewright.c_str(), name, REG_SZ, data, 4), 0);
        EXPECT_GE(AccessViolations, 1);
        AccessViolations = 0;
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, tapewright.c_str(), L"After", REG_DWORD, &number, 4), 1);
        EXPECT_EQ(AccessViolations, 0);
    }
    RemoveVectoredExceptionHandler(observer);
    VirtualFree(unreadable, 0, MEM_RELEASE);
    EXPECT_EQ(ReadRegistryValue(tapewright, L"After").Number(), number);
    EXPECT_FALSE(ReadRegistryValue(tapewright, L"Text").present);
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    EXPECT_TRUE(ReadRegistryValue(tapewright + L"\\Translators", L"SYPL ECC Flag").present);
    RemoveProductRegistry();
}

}  // namespace
