// The product's configuration in the registry: values as the backup
// application reads them, settings already there, the data paths, keys that
// cannot be created, and faults inside the registry calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/data_paths.h"
#include "registry/product_config.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

const std::wstring kTapewright = L"Software\\Velmar\\Tapewright";

// A key below Tapewright's own; the empty name is Tapewright's.
std::wstring KeyOf(const std::wstring& name)
{
    return name.empty() ? kTapewright : kTapewright + L"\\" + name;
}

RegistryValue Read(const wchar_t* key, const wchar_t* name)
{
    return ReadRegistryValue(KeyOf(key), name);
}

void PutValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, KeyOf(key).c_str(), name, type, data, bytes), ERROR_SUCCESS);
}

void PutText(const wchar_t* key, const wchar_t* name, const wchar_t* text)
{
    PutValue(key, name, REG_SZ, text, (lstrlenW(text) + 1) * sizeof(wchar_t));
}

// A key whose children must be volatile too, so setup cannot create its own
// (non-volatile) keys below it.
void CreateVolatileKey(const std::wstring& path)
{
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(handle);
}

// Values in the key, or -1 when it does not exist.
int ValueCount(const std::wstring& key)
{
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyOf(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return -1;
    DWORD values = 0;
    RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(handle);
    return static_cast<int>(values);
}

struct KeyCount {
    const wchar_t* key;
    int values;
};

// Both tables together: User Interface and Compression get values from each.
const std::vector<KeyCount> kFullCounts = {
    {L"User Interface", 56 + 1}, {L"Server", 4},      {L"Catalogs", 8},      {L"Display", 23},
    {L"Logging", 5},             {L"Hardware", 1},    {L"Compression", 2 + 4}, {L"Loader", 5},
    {L"TWI", 3},                 {L"Debug", 8},       {L"Selected Backup Device", 1},
    {L"Backup Engine", 26},      {L"Translators", 1},
};

#define EXPECT_COUNTS(counts) do { SCOPED_TRACE("EXPECT_COUNTS"); ExpectCounts(counts); } while (0)
void ExpectCounts(const std::vector<KeyCount>& counts)
{
    for (const KeyCount& count : counts)
        EXPECT_EQ(ValueCount(count.key), count.values) << count.key;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        RemoveProductRegistry();
    }
    void TearDown() override { RemoveProductRegistry(); }
};

TEST_F(RegistryTest, FreshInstallWritesEveryValueInTheFormItsTypeCallsFor)
{
    ASSERT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    EXPECT_COUNTS(kFullCounts);
    EXPECT_EQ(ValueCount(L""), 0);

    for (const KeyCount& count : kFullCounts) {
        HKEY handle;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyOf(count.key).c_str(), 0, KEY_READ, &handle), 0);
        wchar_t name[256];
        BYTE data[2048];
        DWORD nameChars = ARRAYSIZE(name), type = 0, bytes = sizeof data;
        for (DWORD index = 0; RegEnumValueW(handle, index, name, &nameChars, nullptr, &type, data, &bytes) == 0;
             ++index, nameChars = ARRAYSIZE(name), bytes = sizeof data) {
            SCOPED_TRACE(std::wstring(count.key) + L"\\" + name);
            if (type == REG_SZ) {
                std::wstring text(reinterpret_cast<const wchar_t*>(data), bytes / sizeof(wchar_t));
                EXPECT_EQ(text.find(L'\0'), text.size() - 1) << "one terminator, at the end";
            } else {
                // The application's window records and the empty alert list
                // have their fixed sizes; numbers are DWORDs, 16-bit
                // settings included.
                EXPECT_EQ(bytes, type == REG_BINARY ? 116u : type == REG_MULTI_SZ ? 642u : type == REG_DWORD ? 4u : 0u)
                    << "type " << type;
            }
        }
        RegCloseKey(handle);
    }
    // A 16-bit setting widened, a 32-bit one, a text.
    EXPECT_EQ(Read(L"User Interface", L"Search Limit").Number(), 250u);
    EXPECT_EQ(Read(L"Backup Engine", L"Max Buffer Size").Number(), 0x8000u);
    EXPECT_EQ(Read(L"Display", L"Font Face").Text(), L"MS Sans Serif");
}

TEST_F(RegistryTest, InstallOverAConfigurationKeepsSettingsAndRewritesPaths)
{
    PutText(L"Display", L"Font Face", L"Courier New");
    PutText(L"User Interface", L"Wait time", L"soon");
    const BYTE twoBytes[] = {1, 2};
    PutValue(L"Backup Engine", L"Max Buffer Size", REG_BINARY, twoBytes, sizeof twoBytes);
    PutText(L"User Interface", L"Data Path", L"E:\\OLD\\");
    PutText(L"Catalogs", L"Catalog Path Remote", L"\\\\OLD\\E$\\");

    WriteProductConfiguration(L"C:\\TAPWRITE\\NT\\");

    EXPECT_COUNTS(kFullCounts);
    EXPECT_EQ(Read(L"Display", L"Font Face").Text(), L"Courier New");
    RegistryValue waitTime = Read(L"User Interface", L"Wait time");
    EXPECT_EQ(waitTime.type, DWORD{REG_SZ});
    EXPECT_EQ(waitTime.Text(), L"soon");
    RegistryValue bufferSize = Read(L"Backup Engine", L"Max Buffer Size");
    EXPECT_EQ(bufferSize.type, DWORD{REG_BINARY});
    EXPECT_EQ(bufferSize.bytes, std::vector<BYTE>(twoBytes, twoBytes + 2));

    // The paths follow this install, whatever was there.
    struct Path {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring value;
    } paths[] = {
        {L"User Interface", L"Data Path", L"C:\\TAPWRITE\\NT\\DATA\\"},
        {L"Catalogs", L"Catalog Path Remote", L"\\\\" + ComputerName() + L"\\C$\\TAPWRITE\\NT\\CATALOGS\\"},
    };
    for (const Path& path : paths) {
        RegistryValue value = Read(path.key, path.name);
        EXPECT_EQ(value.type, DWORD{REG_SZ}) << path.name;
        EXPECT_EQ(value.bytes.size(), (path.value.size() + 1) * sizeof(wchar_t)) << path.name;
        EXPECT_EQ(value.Text(), path.value) << path.name;
    }

    // A destination without a drive leaves the paths as they are.
    WriteProductConfiguration(L"\\\\SRV1\\APPS\\TW\\");
    EXPECT_COUNTS(kFullCounts);
    for (const Path& path : paths)
        EXPECT_EQ(Read(path.key, path.name).Text(), path.value) << path.name;
}

struct PathsWithGuard {
    DataPaths paths;
    wchar_t guard[8];

    PathsWithGuard() { wmemset(reinterpret_cast<wchar_t*>(this), 0xCCCC, sizeof *this / sizeof(wchar_t)); }
    bool GuardIntact() const
    {
        return std::wstring(guard, ARRAYSIZE(guard)) == std::wstring(ARRAYSIZE(guard), wchar_t(0xCCCC));
    }
};

TEST(DataPathsTest, RemotePathsNameTheAdministrativeShareWhenReachableAndPartsAreCutToFit)
{
    ResetSetupState();
    const std::wstring server(kComputerNameChars - 1, L'S');
    const std::wstring share = L"\\\\" + server + L"\\C$";
    // Room for two letters of each name and the backslash.
    const std::wstring nearlyFull = L"\\" + std::wstring(kPathTailChars - 5, L'A') + L"\\";
    // Longer than a path at all: the directory alone, cut to the tail's size.
    const std::wstring tooLong = L"\\" + std::wstring(400, L'B');
    const std::wstring cut = tooLong.substr(0, kPathTailChars);
    struct Case {
        std::wstring destination;
        const wchar_t* server;
        std::wstring data, dataRemote, catalog, catalogRemote;
    } cases[] = {
        {L"D:\\TAPWRITE\\NT\\", L"SRV1", L"D:\\TAPWRITE\\NT\\DATA\\", L"\\\\SRV1\\D$\\TAPWRITE\\NT\\DATA\\",
         L"D:\\TAPWRITE\\NT\\CATALOGS\\", L"\\\\SRV1\\D$\\TAPWRITE\\NT\\CATALOGS\\"},
        {L"D:\\TAPWRITE\\NT\\", nullptr, L"D:\\TAPWRITE\\NT\\DATA\\", L"D:\\TAPWRITE\\NT\\DATA\\",
         L"D:\\TAPWRITE\\NT\\CATALOGS\\", L"D:\\TAPWRITE\\NT\\CATALOGS\\"},
        {L"e:\\", L"SRV1", L"e:\\DATA\\", L"\\\\SRV1\\e$\\DATA\\", L"e:\\CATALOGS\\", L"\\\\SRV1\\e$\\CATALOGS\\"},
        {L"C:" + nearlyFull, server.c_str(), L"C:" + nearlyFull + L"DA\\", share + nearlyFull + L"DA\\",
         L"C:" + nearlyFull + L"CA\\", share + nearlyFull + L"CA\\"},
        {L"C:" + tooLong, server.c_str(), L"C:" + cut, share + cut, L"C:" + cut, share + cut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.destination.substr(0, 20));
        PathsWithGuard block;
        ASSERT_TRUE(BuildDataPaths(c.destination.c_str(), c.server, block.paths));
        EXPECT_EQ(block.paths.data, c.data);
        EXPECT_EQ(block.paths.dataRemote, c.dataRemote);
        EXPECT_EQ(block.paths.catalog, c.catalog);
        EXPECT_EQ(block.paths.catalogRemote, c.catalogRemote);
        EXPECT_TRUE(block.GuardIntact());
    }

    PathsWithGuard block;
    EXPECT_FALSE(BuildDataPaths(L"\\\\SRV1\\APPS\\TW\\", L"SRV1", block.paths));
    EXPECT_EQ(block.paths.data[0], wchar_t(0xCCCC)) << "nothing filled";
}

TEST_F(RegistryTest, KeyThatCannotBeCreatedEndsOnlyItsOwnTableWalk)
{
    // Below a volatile key, setup's keys exist only where they were made
    // beforehand (volatile too); every other key fails to be created.
    CreateVolatileKey(kTapewright);
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), DWORD{ERROR_CHILD_MUST_BE_VOLATILE});
    EXPECT_EQ(ValueCount(L""), 0) << "the first key fails: nothing is written";

    for (const wchar_t* key : {L"User Interface", L"Catalogs", L"Compression", L"Translators"})
        CreateVolatileKey(KeyOf(key));
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), DWORD{ERROR_CHILD_MUST_BE_VOLATILE});
    EXPECT_COUNTS((std::vector<KeyCount>{
        {L"User Interface", 56 + 1},  // both tables start here
        {L"Server", -1},              // the first table stops here...
        {L"Catalogs", 0},             // ...and does not go on to a key that exists
        {L"Compression", 4},          // the second table's rows only
        {L"Backup Engine", -1},       // the second table stops here
        {L"Translators", 0},
    }));
}

TEST_F(RegistryTest, SetRegistryValueWritesExactlyTheBytesGivenOrFails)
{
    const BYTE bytes[] = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, KeyOf(L"Probe\\Deep").c_str(), L"Three", REG_BINARY, bytes, 3), 1);
    EXPECT_EQ(Read(L"Probe\\Deep", L"Three").bytes, std::vector<BYTE>(bytes, bytes + 3));

    // A value that cannot be set, and a key that cannot be created.
    EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, KeyOf(L"Probe").c_str(), L"None", REG_DWORD, nullptr, 4), 0);
    EXPECT_FALSE(Read(L"Probe", L"None").present);
    CreateVolatileKey(KeyOf(L"Volatile"));
    EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, KeyOf(L"Volatile\\Child").c_str(), L"Three", REG_BINARY, bytes,
                               3),
              0);
}

volatile LONG AccessViolations;

LONG CALLBACK CountAccessViolations(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&AccessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST_F(RegistryTest, FaultInsideTheRegistryCallsFailsOnlyThatCall)
{
    // Reserved but never committed: any read of it faults.
    void* unreadable = VirtualAlloc(nullptr, 65536, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(unreadable, nullptr);
    // Seen before the guard's handler, to show the platform really faulted
    // rather than refusing the pointer with an error code.
    PVOID observer = AddVectoredExceptionHandler(1, CountAccessViolations);
    const DWORD number = 7;
    struct Case {
        const char* what;
        const wchar_t* name;
        DWORD type;
        const void* data;
        DWORD bytes;
    } cases[] = {
        {"unreadable text", L"Text", REG_SZ, unreadable, 16},
        {"unreadable value name", reinterpret_cast<const wchar_t*>(0x10), REG_DWORD, &number, 4},
    };
    for (const Case& c : cases) {
        AccessViolations = 0;
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kTapewright.c_str(), c.name, c.type, c.data, c.bytes), 0)
            << c.what;
        EXPECT_GE(AccessViolations, 1) << c.what;

        AccessViolations = 0;
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kTapewright.c_str(), L"After", REG_DWORD, &number, 4), 1)
            << c.what;
        EXPECT_EQ(AccessViolations, 0) << c.what;
    }
    RemoveVectoredExceptionHandler(observer);
    VirtualFree(unreadable, 0, MEM_RELEASE);

    EXPECT_EQ(Read(L"", L"After").Number(), number);
    EXPECT_FALSE(Read(L"", L"Text").present);
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    EXPECT_COUNTS(kFullCounts);
}

}  // namespace
