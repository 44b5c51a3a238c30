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

bool PutValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, KeyOf(key).c_str(), name, type, data, bytes) == ERROR_SUCCESS;
}

// A key whose children must be volatile too, so setup cannot create its own
// (non-volatile) keys below it.
bool CreateVolatileKey(const std::wstring& path)
{
    HKEY handle;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// Values in the key, or -1 when it does not exist.
int ValueCount(const std::wstring& key)
{
    RegistryKey read = ReadRegistryKey(KeyOf(key));
    return read.exists ? static_cast<int>(read.values.size()) : -1;
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
        for (const auto& [name, value] : ReadRegistryKey(KeyOf(count.key)).values) {
            SCOPED_TRACE(std::wstring(count.key) + L"\\" + name);
            if (value.type == REG_SZ) {
                std::wstring text(reinterpret_cast<const wchar_t*>(value.bytes.data()), value.bytes.size() / 2);
                EXPECT_EQ(text.find(L'\0'), text.size() - 1) << "one terminator, at the end";
            } else {
                // The application's window records and the empty alert list
                // have their fixed sizes; numbers are DWORDs, 16-bit
                // settings included.
                EXPECT_EQ(value.bytes.size(), value.type == REG_BINARY     ? 116u
                                              : value.type == REG_MULTI_SZ ? 642u
                                              : value.type == REG_DWORD    ? 4u
                                                                           : 0u)
                    << "type " << value.type;
            }
        }
    }
    // A 16-bit setting widened, a 32-bit one, a text.
    EXPECT_EQ(Read(L"User Interface", L"Search Limit").Number(), 250u);
    EXPECT_EQ(Read(L"Backup Engine", L"Max Buffer Size").Number(), 0x8000u);
    EXPECT_EQ(Read(L"Display", L"Font Face").Text(), L"MS Sans Serif");
}

TEST_F(RegistryTest, InstallOverAConfigurationKeepsSettingsAndRewritesPaths)
{
    const wchar_t soon[] = L"soon";
    const BYTE twoBytes[] = {1, 2};
    const wchar_t oldData[] = L"E:\\OLD\\";
    ASSERT_TRUE(PutValue(L"User Interface", L"Wait time", REG_SZ, soon, sizeof soon));
    ASSERT_TRUE(PutValue(L"Backup Engine", L"Max Buffer Size", REG_BINARY, twoBytes, sizeof twoBytes));
    ASSERT_TRUE(PutValue(L"User Interface", L"Data Path", REG_SZ, oldData, sizeof oldData));
    ASSERT_TRUE(PutValue(L"Catalogs", L"Catalog Path Remote", REG_SZ, oldData, sizeof oldData));


    // The paths follow this install, whatever was there; a destination
    // without a drive leaves them as they are.
    struct Path {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring value;
    } paths[] = {
        {L"User Interface", L"Data Path", L"C:\\TAPWRITE\\NT\\DATA\\"},
        {L"Catalogs", L"Catalog Path Remote", L"\\\\" + ComputerName() + L"\\C$\\TAPWRITE\\NT\\CATALOGS\\"},
    };
    for (const wchar_t* destination : {L"C:\\TAPWRITE\\NT\\", L"\\\\SRV1\\APPS\\TW\\"}) {
        WriteProductConfiguration(destination);
        EXPECT_COUNTS(kFullCounts);
        for (const Path& path : paths) {
            RegistryValue value = Read(path.key, path.name);
            EXPECT_EQ(value.type, DWORD{REG_SZ}) << path.name;
            EXPECT_EQ(value.bytes.size(), (path.value.size() + 1) * sizeof(wchar_t)) << path.name;
            EXPECT_EQ(value.Text(), path.value) << path.name;
        }
    }
    RegistryValue waitTime = Read(L"User Interface", L"Wait time");
    EXPECT_EQ(waitTime.type, DWORD{REG_SZ});
    EXPECT_EQ(waitTime.Text(), soon);
    RegistryValue bufferSize = Read(L"Backup Engine", L"Max Buffer Size");
    EXPECT_EQ(bufferSize.type, DWORD{REG_BINARY});
    EXPECT_EQ(bufferSize.bytes, std::vector<BYTE>(twoBytes, twoBytes + 2));
}

struct PathsWithGuard {
    DataPaths paths;
    wchar_t guard[8];

    PathsWithGuard() { wmemset(reinterpret_cast<wchar_t*>(this), 0xCCCC, sizeof *this / sizeof(wchar_t)); }
    bool GuardIntact() const { return std::wstring(guard, 8) == std::wstring(8, wchar_t(0xCCCC)); }
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
    ASSERT_TRUE(CreateVolatileKey(kTapewright));
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), DWORD{ERROR_CHILD_MUST_BE_VOLATILE});
    EXPECT_EQ(ValueCount(L""), 0) << "the first key fails: nothing is written";

    for (const wchar_t* key : {L"User Interface", L"Catalogs", L"Compression", L"Translators"})
        ASSERT_TRUE(CreateVolatileKey(KeyOf(key))) << key;
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
    const auto unreadableName = reinterpret_cast<const wchar_t*>(0x10);
    for (auto [name, data] : {std::pair<const wchar_t*, const void*>{L"Text", unreadable}, {unreadableName, &number}}) {
        SCOPED_TRACE(name == unreadableName ? "unreadable value name" : "unreadable text");
        AccessViolations = 0;
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kTapewright.c_str(), name, REG_SZ, data, 4), 0);
        EXPECT_GE(AccessViolations, 1);

        AccessViolations = 0;
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kTapewright.c_str(), L"After", REG_DWORD, &number, 4), 1);
        EXPECT_EQ(AccessViolations, 0);
    }
    RemoveVectoredExceptionHandler(observer);
    VirtualFree(unreadable, 0, MEM_RELEASE);

    EXPECT_EQ(Read(L"", L"After").Number(), number);
    EXPECT_FALSE(Read(L"", L"Text").present);
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    EXPECT_COUNTS(kFullCounts);
}

}  // namespace
