// The product's configuration in the registry: the defaults as the backup
// application reads them, settings already there, the data paths, keys that
// cannot be created, and faults inside the registry calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "registry/data_paths.h"
#include "registry/product_config.h"
#include "support/in_process.h"

namespace {

const wchar_t kVelmar[] = L"Software\\Velmar";
const wchar_t kTapewright[] = L"Software\\Velmar\\Tapewright";

// A key below Tapewright's own; the empty name is Tapewright's.
std::wstring KeyOf(const wchar_t* name)
{
    return *name ? std::wstring(kTapewright) + L"\\" + name : kTapewright;
}

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    DWORD Number() const
    {
        DWORD number = 0xDEADBEEF;
        if (bytes.size() == sizeof number)
            memcpy(&number, bytes.data(), sizeof number);
        return number;
    }

    // Up to the first terminator.
    std::wstring Text() const
    {
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        return text.substr(0, text.find(L'\0'));
    }
};

StoredValue ReadValue(const wchar_t* key, const wchar_t* name)
{
    StoredValue value;
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyOf(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExW(handle, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size + 2);
        value.present =
            RegQueryValueExW(handle, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    RegCloseKey(handle);
    return value;
}

void PutValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, KeyOf(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(handle);
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
int ValueCount(const wchar_t* key)
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
    {L"User Interface", 56 + 1},
    {L"Server", 4},
    {L"Catalogs", 8},
    {L"Display", 23},
    {L"Logging", 5},
    {L"Hardware", 1},
    {L"Compression", 2 + 4},
    {L"Loader", 5},
    {L"TWI", 3},
    {L"Debug", 8},
    {L"Selected Backup Device", 1},
    {L"Backup Engine", 26},
    {L"Translators", 1},
};

void ExpectCounts(const std::vector<KeyCount>& counts)
{
    for (const KeyCount& count : counts)
        EXPECT_EQ(ValueCount(count.key), count.values) << count.key;
}

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD chars = MAX_COMPUTERNAME_LENGTH + 1;
    EXPECT_TRUE(GetComputerNameW(name, &chars));
    return name;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        RemoveVelmar();
        HKEY handle;
        ASSERT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kVelmar, 0, KEY_READ, &handle), ERROR_SUCCESS);
    }

    void TearDown() override { RemoveVelmar(); }

    static void RemoveVelmar() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVelmar); }
};

TEST_F(RegistryTest, FreshInstallWritesEveryDefaultWithItsTypeAndSize)
{
    ASSERT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    ExpectCounts(kFullCounts);
    EXPECT_EQ(ValueCount(L""), 0);

    // Every value has the size its type calls for.
    int byType[REG_MULTI_SZ + 1] = {};
    for (const KeyCount& count : kFullCounts) {
        HKEY handle;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyOf(count.key).c_str(), 0, KEY_READ, &handle), 0);
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD nameChars = 256;
            DWORD type = 0;
            BYTE data[2048];
            DWORD bytes = sizeof data;
            if (RegEnumValueW(handle, index, name, &nameChars, nullptr, &type, data, &bytes) != ERROR_SUCCESS)
                break;
            SCOPED_TRACE(std::wstring(count.key) + L"\\" + name);
            ASSERT_LE(type, DWORD{REG_MULTI_SZ});
            ++byType[type];
            switch (type) {
            case REG_DWORD:
                EXPECT_EQ(bytes, 4u);
                break;
            case REG_SZ: {
                std::wstring text(reinterpret_cast<const wchar_t*>(data), bytes / sizeof(wchar_t));
                EXPECT_EQ(text.find(L'\0'), text.size() - 1) << "one terminator, at the end";
                break;
            }
            case REG_BINARY:
                EXPECT_EQ(bytes, 116u);
                break;
            case REG_MULTI_SZ:
                EXPECT_EQ(bytes, 642u);
                break;
            default:
                ADD_FAILURE() << "type " << type;
            }
        }
        RegCloseKey(handle);
    }
    EXPECT_EQ(byType[REG_DWORD], 121);
    EXPECT_EQ(byType[REG_SZ], 13);
    EXPECT_EQ(byType[REG_BINARY], 13);
    EXPECT_EQ(byType[REG_MULTI_SZ], 1);

    struct Number {
        const wchar_t* key;
        const wchar_t* name;
        DWORD value;
    } numbers[] = {
        {L"User Interface", L"Startup Dispatch Pause Secs", 120},
        {L"User Interface", L"Locked Out Retries", 100},
        {L"User Interface", L"Output Dest", 2},
        {L"User Interface", L"Restore existing files", 0},
        {L"User Interface", L"Search Limit", 250},
        {L"User Interface", L"Next Job Wait Time", 300},
        {L"User Interface", L"Event - Mask", 35},
        {L"User Interface", L"PMI Flag", 0},
        {L"User Interface", L"Skip open files", 1},
        {L"Server", L"Status", 0},
        {L"Catalogs", L"Catalog Level", 2},
        {L"Catalogs", L"Catalog Days To Age", 90},
        {L"Display", L"Font Weight", 400},
        {L"Display", L"Sort Options", 1206},
        {L"Logging", L"Number of sessions", 99},
        {L"Hardware", L"Drive Settling Time", 60},
        {L"Compression", L"Hardware - Enable", 1},
        {L"Compression", L"Software - Threshold", 16},
        {L"Loader", L"Loader Abort Job", 0},
        {L"TWI", L"Enabled", 0},
        {L"Debug", L"Num Debug Lines", 150},
        {L"Backup Engine", L"Max Num Tape Buffers", 9},
        {L"Backup Engine", L"Max Buffer Size", 0x00008000},
        {L"Backup Engine", L"Restore existing files", 1},
        {L"Backup Engine", L"NRL dos vector", 2},
        {L"Backup Engine", L"Machine Type", 0},
        {L"Backup Engine", L"OTC Level", 2},
        {L"Backup Engine", L"DIL no wait timeout", 5},
        {L"Backup Engine", L"Use Fast Append", 1},
        {L"Translators", L"SYPL ECC Flag", 0},
    };
    for (const Number& n : numbers) {
        StoredValue value = ReadValue(n.key, n.name);
        EXPECT_TRUE(value.present && value.type == REG_DWORD) << n.name;
        EXPECT_EQ(value.Number(), n.value) << n.name;
    }

    struct Text {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* value;
    } texts[] = {
        {L"User Interface", L"Data Path", L""},
        {L"User Interface", L"Group Name", L""},
        {L"User Interface", L"Menu Server List", L"4"},
        {L"Server", L"Description", L"Velmar Backup Server"},
        {L"Catalogs", L"Catalog Path Remote", L""},
        {L"Display", L"Font Face", L"MS Sans Serif"},
        {L"Logging", L"Log File Root", L"TWX"},
        {L"Loader", L"Magazine Group Name", L""},
        {L"Debug", L"File Name", L"debug.log"},
        {L"Selected Backup Device", L"Device Alias Name", L""},
    };
    for (const Text& t : texts) {
        StoredValue value = ReadValue(t.key, t.name);
        EXPECT_EQ(value.type, DWORD{REG_SZ}) << t.name;
        EXPECT_EQ(value.bytes.size(), (wcslen(t.value) + 1) * sizeof(wchar_t)) << t.name;
        EXPECT_EQ(value.Text(), t.value) << t.name;
    }

    StoredValue whoList = ReadValue(L"User Interface", L"Alert - Who List");
    EXPECT_EQ(whoList.type, DWORD{REG_MULTI_SZ});
    EXPECT_EQ(whoList.bytes, std::vector<BYTE>(642, 0));
}

std::vector<BYTE> WindowRecord(std::initializer_list<DWORD> firstWords)
{
    std::vector<BYTE> bytes(116, 0);
    size_t offset = 0;
    for (DWORD word : firstWords) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes[offset++] = static_cast<BYTE>(word >> shift);
    }
    return bytes;
}

TEST_F(RegistryTest, WindowRecordsTakeTheirInitialForm)
{
    ASSERT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    const std::vector<BYTE> formA = WindowRecord(
        {0x80000000, 0x80000000, 0x80000000, 0x80000000, 0x100, 0x7FF0, 0xFFFFFFFF, 0xFFFFFFFF});
    const std::vector<BYTE> formB = WindowRecord({0, 0, 0x80000000, 0x80000000, 0, 0x7FF0, 0xFFFFFFFF, 0xFFFFFFFF});
    for (const wchar_t* name :
         {L"Frame Window", L"Disk Window", L"Tree Dir Window", L"Search Window", L"Server Window", L"Network Window",
          L"Log Window", L"Debug Window", L"Run Time Dialog", L"Job Window", L"History Window", L"Monitor Window",
          L"Tape Window"}) {
        StoredValue value = ReadValue(L"Display", name);
        EXPECT_EQ(value.type, DWORD{REG_BINARY}) << name;
        EXPECT_EQ(value.bytes, lstrcmpW(name, L"Network Window") == 0 ? formB : formA) << name;
    }
}

TEST_F(RegistryTest, InstallOverAConfigurationKeepsSettingsAndRewritesPaths)
{
    PutText(L"Display", L"Font Face", L"Courier New");
    PutText(L"User Interface", L"Wait time", L"soon");
    const BYTE twoBytes[] = {1, 2};
    PutValue(L"Backup Engine", L"Max Buffer Size", REG_BINARY, twoBytes, sizeof twoBytes);
    PutText(L"User Interface", L"Data Path", L"E:\\OLD\\DATA\\");
    PutText(L"Catalogs", L"Catalog Path Remote", L"\\\\OLD\\E$\\OLD\\CATALOGS\\");

    WriteProductConfiguration(L"C:\\TAPWRITE\\NT\\");

    ExpectCounts(kFullCounts);
    EXPECT_EQ(ReadValue(L"Display", L"Font Face").Text(), L"Courier New");
    EXPECT_EQ(ReadValue(L"Display", L"Font Size").Number(), 8u);
    StoredValue waitTime = ReadValue(L"User Interface", L"Wait time");
    EXPECT_EQ(waitTime.type, DWORD{REG_SZ});
    EXPECT_EQ(waitTime.Text(), L"soon");
    StoredValue bufferSize = ReadValue(L"Backup Engine", L"Max Buffer Size");
    EXPECT_EQ(bufferSize.type, DWORD{REG_BINARY});
    EXPECT_EQ(bufferSize.bytes, std::vector<BYTE>(twoBytes, twoBytes + 2));

    const std::wstring share = L"\\\\" + ComputerName() + L"\\C$";
    struct Path {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring value;
    } paths[] = {
        {L"User Interface", L"Data Path", L"C:\\TAPWRITE\\NT\\DATA\\"},
        {L"User Interface", L"Data Path Remote", share + L"\\TAPWRITE\\NT\\DATA\\"},
        {L"Catalogs", L"Catalog Path", L"C:\\TAPWRITE\\NT\\CATALOGS\\"},
        {L"Catalogs", L"Catalog Path Remote", share + L"\\TAPWRITE\\NT\\CATALOGS\\"},
    };
    for (const Path& path : paths) {
        StoredValue value = ReadValue(path.key, path.name);
        EXPECT_EQ(value.type, DWORD{REG_SZ}) << path.name;
        EXPECT_EQ(value.bytes.size(), (path.value.size() + 1) * sizeof(wchar_t)) << path.name;
        EXPECT_EQ(value.Text(), path.value) << path.name;
    }

    // Nothing is missing any more, so a second run changes nothing.
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    ExpectCounts(kFullCounts);
    EXPECT_EQ(ReadValue(L"User Interface", L"Data Path").Text(), L"C:\\TAPWRITE\\NT\\DATA\\");
}

TEST_F(RegistryTest, DestinationWithoutADriveKeepsTheDefaultPaths)
{
    WriteProductConfiguration(L"\\\\SRV1\\APPS\\TW\\");
    ExpectCounts(kFullCounts);
    for (const wchar_t* name : {L"Data Path", L"Data Path Remote"})
        EXPECT_EQ(ReadValue(L"User Interface", name).bytes.size(), 2u) << name;
    for (const wchar_t* name : {L"Catalog Path", L"Catalog Path Remote"})
        EXPECT_EQ(ReadValue(L"Catalogs", name).bytes.size(), 2u) << name;
}

struct PathsWithGuard {
    DataPaths paths;
    wchar_t guard[8];
};

void FillSentinel(PathsWithGuard& block)
{
    wmemset(reinterpret_cast<wchar_t*>(&block), 0xCCCC, sizeof block / sizeof(wchar_t));
}

bool GuardIntact(const PathsWithGuard& block)
{
    for (wchar_t c : block.guard) {
        if (c != 0xCCCC)
            return false;
    }
    return true;
}

TEST(DataPathsTest, RemotePathsNameTheAdministrativeShareOnlyWhenReachable)
{
    ResetSetupState();
    struct Case {
        const wchar_t* destination;
        const wchar_t* server;
        const wchar_t* data;
        const wchar_t* dataRemote;
        const wchar_t* catalog;
        const wchar_t* catalogRemote;
    } cases[] = {
        {L"D:\\TAPWRITE\\NT\\", L"SRV1", L"D:\\TAPWRITE\\NT\\DATA\\", L"\\\\SRV1\\D$\\TAPWRITE\\NT\\DATA\\",
         L"D:\\TAPWRITE\\NT\\CATALOGS\\", L"\\\\SRV1\\D$\\TAPWRITE\\NT\\CATALOGS\\"},
        {L"D:\\TAPWRITE\\NT\\", nullptr, L"D:\\TAPWRITE\\NT\\DATA\\", L"D:\\TAPWRITE\\NT\\DATA\\",
         L"D:\\TAPWRITE\\NT\\CATALOGS\\", L"D:\\TAPWRITE\\NT\\CATALOGS\\"},
        {L"e:\\", L"SRV1", L"e:\\DATA\\", L"\\\\SRV1\\e$\\DATA\\", L"e:\\CATALOGS\\", L"\\\\SRV1\\e$\\CATALOGS\\"},
    };
    for (const Case& c : cases) {
        PathsWithGuard block;
        FillSentinel(block);
        ASSERT_TRUE(BuildDataPaths(c.destination, c.server, block.paths)) << c.destination;
        EXPECT_STREQ(block.paths.data, c.data);
        EXPECT_STREQ(block.paths.dataRemote, c.dataRemote);
        EXPECT_STREQ(block.paths.catalog, c.catalog);
        EXPECT_STREQ(block.paths.catalogRemote, c.catalogRemote);
    }

    PathsWithGuard block;
    FillSentinel(block);
    EXPECT_FALSE(BuildDataPaths(L"\\\\SRV1\\APPS\\TW\\", L"SRV1", block.paths));
    EXPECT_EQ(block.paths.data[0], wchar_t(0xCCCC)) << "nothing filled";
}

TEST(DataPathsTest, OverlongPartsAreCutToFit)
{
    ResetSetupState();
    const std::wstring server(kComputerNameChars - 1, L'S');
    const std::wstring share = L"\\\\" + server + L"\\C$";

    // Room for two letters of each name and the backslash.
    const std::wstring nearlyFull = L"\\" + std::wstring(kPathTailChars - 5, L'A') + L"\\";
    PathsWithGuard block;
    FillSentinel(block);
    ASSERT_TRUE(BuildDataPaths((L"C:" + nearlyFull).c_str(), server.c_str(), block.paths));
    EXPECT_EQ(std::wstring(block.paths.data), L"C:" + nearlyFull + L"DA\\");
    EXPECT_EQ(std::wstring(block.paths.dataRemote), share + nearlyFull + L"DA\\");
    EXPECT_EQ(std::wstring(block.paths.catalogRemote), share + nearlyFull + L"CA\\");
    EXPECT_TRUE(GuardIntact(block));

    // Longer than a path at all: the directory alone, cut to the tail's size.
    const std::wstring tooLong = L"\\" + std::wstring(400, L'B');
    FillSentinel(block);
    ASSERT_TRUE(BuildDataPaths((L"C:" + tooLong).c_str(), server.c_str(), block.paths));
    EXPECT_EQ(std::wstring(block.paths.catalog), L"C:" + tooLong.substr(0, kPathTailChars));
    EXPECT_EQ(std::wstring(block.paths.catalogRemote), share + tooLong.substr(0, kPathTailChars));
    EXPECT_TRUE(GuardIntact(block));
}

TEST_F(RegistryTest, KeyThatCannotBeCreatedEndsOnlyItsOwnTableWalk)
{
    // Below a volatile key, setup's keys exist only where they were made
    // beforehand (volatile too); every other key fails to be created.
    CreateVolatileKey(kTapewright);
    CreateVolatileKey(KeyOf(L"User Interface"));
    CreateVolatileKey(KeyOf(L"Catalogs"));
    CreateVolatileKey(KeyOf(L"Compression"));
    CreateVolatileKey(KeyOf(L"Translators"));

    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), DWORD{ERROR_CHILD_MUST_BE_VOLATILE});
    ExpectCounts({
        {L"User Interface", 56 + 1},  // both tables start here
        {L"Server", -1},              // the first table stops here...
        {L"Catalogs", 0},             // ...and does not go on to a key that exists
        {L"Compression", 4},          // the second table's rows only
        {L"Backup Engine", -1},       // the second table stops here
        {L"Translators", 0},
    });
    EXPECT_FALSE(ReadValue(L"Compression", L"Hardware - Enable").present);
    EXPECT_TRUE(ReadValue(L"Compression", L"Software - Expansion").present);
}

TEST_F(RegistryTest, FirstKeyThatCannotBeCreatedWritesNothing)
{
    CreateVolatileKey(kTapewright);
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), DWORD{ERROR_CHILD_MUST_BE_VOLATILE});
    HKEY handle;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTapewright, 0, KEY_READ, &handle), ERROR_SUCCESS);
    DWORD subkeys = 99;
    DWORD values = 99;
    RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(handle);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);
}

TEST_F(RegistryTest, SetRegistryValueWritesExactlyTheBytesGiven)
{
    const BYTE bytes[] = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, L"Software\\Velmar\\Tapewright\\Probe\\Deep", L"Three",
                               REG_BINARY, bytes, 3),
              1);
    EXPECT_EQ(ReadValue(L"Probe\\Deep", L"Three").bytes, std::vector<BYTE>(bytes, bytes + 3));

    // A value that cannot be set, and a key that cannot be created.
    EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, L"Software\\Velmar\\Tapewright\\Probe", L"None", REG_DWORD,
                               nullptr, 4),
              0);
    EXPECT_FALSE(ReadValue(L"Probe", L"None").present);
    CreateVolatileKey(L"Software\\Velmar\\Volatile");
    EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, L"Software\\Velmar\\Volatile\\Child", L"Three", REG_BINARY,
                               bytes, 3),
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
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kTapewright, c.name, c.type, c.data, c.bytes), 0) << c.what;
        EXPECT_GE(AccessViolations, 1) << c.what;

        AccessViolations = 0;
        EXPECT_EQ(SetRegistryValue(HKEY_LOCAL_MACHINE, kTapewright, L"After", REG_DWORD, &number, 4), 1) << c.what;
        EXPECT_EQ(AccessViolations, 0) << c.what;
    }
    RemoveVectoredExceptionHandler(observer);
    VirtualFree(unreadable, 0, MEM_RELEASE);

    EXPECT_EQ(ReadValue(L"", L"After").Number(), number);
    EXPECT_FALSE(ReadValue(L"", L"Text").present);
    EXPECT_EQ(WriteRegistryDefaults(HKEY_LOCAL_MACHINE), 0u);
    ExpectCounts(kFullCounts);
}

}  // namespace
