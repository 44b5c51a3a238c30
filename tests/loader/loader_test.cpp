// The loader module: the changer table's limits, the backups of the drivers
// it replaces, and whole installs from the loader disk.
#include <gtest/gtest.h>

#include "loader/loader_module.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"

using namespace support;

namespace {

const std::wstring kWork = L"C:\\TWLOADER\\";
const std::wstring kDrivers = SystemDirectory() + L"DRIVERS\\";

// A multi-string value: each line with its terminator, then a final one.
std::wstring MultiString(const std::vector<std::wstring>& lines)
{
    std::wstring value;
    for (const std::wstring& line : lines)
        value += line + L'\0';
    return value + L'\0';
}

std::wstring ValueText(const RegistryValue& value)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(value.bytes.data()), value.bytes.size() / sizeof(wchar_t));
}

void WriteFile(const std::wstring& path, const std::string& bytes)
{
    CreateEmptyFile(path);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class Loader : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        Clean();
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveTree(kWork);
        for (const std::wstring& name : FilesIn(kDrivers))
            if (name.rfind(L"CHANGER.", 0) == 0 || name.rfind(L"AUTOLDR.", 0) == 0)
                DeleteFileW((kDrivers + name).c_str());
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kChangerKey, L"VSDLoadTable");
    }
};

class LoaderInstall : public Loader {};

// The table's kept lines become the value; a table that is not 8-bit text
// is refused whole, with the loader's error, and a Ctrl+Z ends a text, as an
// old editor left it. The file goes either way.
TEST_F(Loader, OnlyTheLinesThatFitOfATextTableAreWritten)
{
    std::string fullLines;
    for (int k = 0; k < 8; ++k)
        fullLines += std::string(255, 'x') + "\n";
    const struct {
        const char* why;
        std::string bytes;
        bool written;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"comments, blank lines and lines after a space go; a tab line stays",
         "#c\n\n lead\n\tTab\r\nA\r\n#\nB", true, {L"\tTab", L"A", L"B"}},
        {"no more than 2,030 characters: whole lines only", fullLines + "short\n", true,
         std::vector<std::wstring>(7, std::wstring(255, L'x'))},
        {"the rest of a long line is dropped", std::string(300, 'y') + "\nnext\n", true,
         {std::wstring(255, L'y'), L"next"}},
        {"nothing kept", "# only\n\n", true, {}},
        {"8-bit text to a Ctrl+Z", "Caf\xE9\r\n\x1A\x01", true, {L"Caf\xE9"}},
        {"UTF-16", std::string("\xFF\xFE" "A\0\n\0", 6), false, {}},
        {"UTF-16 without a mark", std::string("A\0B\0", 4), false, {}},
        {"a binary file", "MZ\x90\x03\x04", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        WriteFile(kWork + L"VSDTABLE.CFG", c.bytes);
        MessageBoxAnswerer answerer({IDOK});
        EXPECT_EQ(WriteVsdLoadTable(kWork.c_str()), c.written);
        EXPECT_EQ(ValueText(ReadRegistryValue(kChangerKey, L"VSDLoadTable")), c.written ? MultiString(c.lines) : L"");
        EXPECT_EQ(answerer.Boxes().empty() ? L"" : answerer.Boxes()[0].caption,
                  c.written ? L"" : BankString(LangBase + IDS_DRIVERS_TITLE));
        EXPECT_FALSE(Exists(kWork + L"VSDTABLE.CFG"));
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kChangerKey, L"VSDLoadTable");
    }
}

TEST_F(Loader, DriversReplacedAreKeptUnderTheNextFreeNumber)
{
    const std::wstring from = kWork + L"disk\\CHANGER.VSD";
    const std::wstring to = kWork + L"drivers\\CHANGER.VSD";
    const auto backup = [&](int n) { return kWork + L"drivers\\CHANGER.00" + std::to_wstring(n); };
    WriteFile(to, "first");
    for (const char* version : {"second", "third"}) {
        WriteFile(from, version);
        EXPECT_TRUE(InstallDriverWithBackup(from.c_str(), to.c_str()));
        EXPECT_EQ(FileBytes(to), version);
    }
    EXPECT_EQ(FileBytes(backup(1)), "first");
    EXPECT_EQ(FileBytes(backup(2)), "second");

    // A missing source is no reason to move the installed driver aside.
    DeleteFileW(from.c_str());
    EXPECT_FALSE(InstallDriverWithBackup(from.c_str(), to.c_str()));
    EXPECT_EQ(FileBytes(to), "third");
    EXPECT_FALSE(Exists(backup(3)));

    // With every number taken the install fails; no backup is overwritten.
    WriteFile(from, "fourth");
    wchar_t name[32];
    for (int n = 3; n <= 999; ++n) {
        wsprintfW(name, L"CHANGER.%03d", n);
        CreateEmptyFile(kWork + L"drivers\\" + name);
    }
    EXPECT_FALSE(InstallDriverWithBackup(from.c_str(), to.c_str()));
    EXPECT_EQ(FileBytes(to), "third");
    EXPECT_EQ(FileBytes(backup(1)), "first");

    // A disk without drivers in its folder may hold them in I386.
    WriteFile(kWork + L"disk2\\I386\\AUTOLDR.VSD", "stacker");
    lstrcpyW(SourcePath, (kWork + L"disk2").c_str());
    EXPECT_TRUE(InstallChangerDrivers());
    EXPECT_EQ(FileBytes(kDrivers + L"AUTOLDR.VSD"), "stacker");
}

// Unattended, as a deployment tool runs it: the loader disk in A: is taken
// without a prompt, and so is a folder of its files named without its
// closing backslash; each completed run ends by itself, the first making
// the DRIVERS folder a new system lacks. Then by hand, a loader disk
// without drivers: the run fails and leaves no table behind.
TEST_F(LoaderInstall, FromTheLoaderDiskKeepingTheDriversItReplaces)
{
    CreateDirectoryW(kWork.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(SETUP_EXE_PATH, (kWork + L"setup.exe").c_str(), FALSE));
    // A 32-bit program's drivers folder on 64-bit Windows may be missing; a
    // 64-bit program's is the system's own, always there and never emptied.
    if (sizeof(void*) == 4) {
        RemoveDirectoryW(kDrivers.c_str());
        ASSERT_FALSE(Exists(kDrivers)) << "the test system has drivers of its own";
    }
    ASSERT_TRUE(InsertDisk(FixturePath(L"loader")));
    CopyFolder(FixturePath(L"loader"), kWork + L"share\\");
    for (const std::wstring& source : {std::wstring(), kWork + L"share"}) {
        EXPECT_EQ(SetupProcess(L"/U:" + source + L" /LDR: /SMS:", From(kWork)).WaitForExit(60000),
                  static_cast<DWORD>(kExitCompleted));
        if (source.empty())
            WriteFile(kDrivers + L"CHANGER.VSD", "installed before");
    }
    for (const wchar_t* name : {L"CHANGER.VSD", L"AUTOLDR.VSD"})
        EXPECT_TRUE(SameBytes(kDrivers + name, FixturePath(L"loader") + name)) << name;
    EXPECT_EQ(FileBytes(kDrivers + L"CHANGER.001"), "installed before");
    EXPECT_TRUE(SameBytes(kDrivers + L"AUTOLDR.001", FixturePath(L"loader") + L"AUTOLDR.VSD"));
    RegistryValue table = ReadRegistryValue(kChangerKey, L"VSDLoadTable");
    EXPECT_EQ(table.type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(ValueText(table),
              MultiString({L"CHANGER  0x0001 Velmar Autoloader 6", L"\tAUTOLDR 0x0002 Velmar Stacker",
                           L"LAST 0x0003 without a line feed"}));

    CopyFolder(FixturePath(L"loader"), kWork + L"nodrivers\\");
    for (const wchar_t* name : {L"CHANGER.VSD", L"AUTOLDR.VSD"}) {
        DeleteFileW((kWork + L"nodrivers\\" + name).c_str());
        DeleteFileW((kDrivers + name).c_str());
    }
    ASSERT_TRUE(InsertDisk(kWork + L"nodrivers\\"));
    SetupProcess setup(L"/L:1 /U:", From(kWork));
    HWND menu = setup.WaitForDialog(L"Tapewright Setup");
    ASSERT_NE(menu, nullptr);
    PressButton(menu, IDC_MENU_LOADER);
    HWND prompt = setup.WaitForDialog(L"Load Install Disk");
    ASSERT_NE(prompt, nullptr);
    PressButton(prompt, IDOK);
    EXPECT_TRUE(setup.Answer(L"Changer Driver Install Error", IDOK, 60000));
    EXPECT_EQ(setup.WaitForExit(), static_cast<DWORD>(kExitNotCompleted));
    EXPECT_FALSE(Exists(kDrivers + L"CHANGER.VSD"));
    EXPECT_FALSE(Exists(kWork + L"VSDTABLE.CFG"));
}

}  // namespace
