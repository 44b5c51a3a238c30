// A failed or cancelled install leaves the computer as it found it: a
// reinstall over a working Backup Server install that ends before its copy
// completes, whatever ends it, and a fresh install that fails. Damage the
// compressed format cannot show is caught by the media's checksum list.
#include <gtest/gtest.h>

#include <functional>

#include "registry/product_keys.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/machine_snapshot.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/test_services.h"

using namespace support;

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
// A copy of the English share with one file damaged.
const std::wstring kDamaged = L"C:\\TWDAMAGED\\";
const UINT kServices[] = {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER, IDS_SERVICE_BROWSER};

// How a run ends: unattended, or by hand at the disk prompt that a
// directory in place of a file brings up in the middle of the copy.
enum class Ending { Unattended, CancelConfirmed, WindowClosed };

struct Damage {
    const char* what;
    const wchar_t* file;  // on the share
    std::function<void(std::string&)> change;  // null: a directory in its place
    Ending ending = Ending::Unattended;
};

const Damage kDamages[] = {
    {"truncated", L"twwinnt.ex_", [](std::string& b) { b.resize(b.size() / 2); }},
    {"garbage", L"twwinnt.ex_", [](std::string& b) { b.assign(5000, '\x5a'); }},
    {"a directory in its place", L"twwinnt.ex_", nullptr},
    {"one byte flipped, compressed", L"twwinnt.ex_", [](std::string& b) { b[b.size() / 2] ^= 0x20; }},
    {"one byte flipped, plain", L"readenu.txt", [](std::string& b) { b[b.size() / 2] ^= 0x20; }},
    {"one byte flipped in the library", L"dlg3d32.dl_", [](std::string& b) { b[b.size() / 2] ^= 0x20; }},
    {"a checksum list without a file", L"checksum.lst",
     [](std::string& b) { b.erase(b.find("twdiag.ex_")); }},
    {"cancel confirmed mid-copy", L"twwinnt.ex_", nullptr, Ending::CancelConfirmed},
    {"window closed mid-copy", L"twwinnt.ex_", nullptr, Ending::WindowClosed},
};

void MakeDamagedShare(const Damage& damage)
{
    RemoveTree(kDamaged);
    CopyFolder(FixturePath(L"share-en"), kDamaged);
    const std::wstring path = kDamaged + damage.file;
    if (damage.change) {
        std::string bytes = FileBytes(path);
        damage.change(bytes);
        WriteBytes(path, bytes);
    } else {
        DeleteFileW(path.c_str());
        CreateDirectoryW(path.c_str(), nullptr);
    }
}

// Runs setup from the damaged share over C:\TAPWRITE\NT and ends it as
// `ending` says; its exit code.
DWORD RunDamaged(Ending ending)
{
    if (ending == Ending::Unattended)
        return SetupProcess(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(kDamaged)).WaitForExit(120000);
    SetupProcess setup(L"/L:1 /TS: /DEST:C:\\TAPWRITE\\NT", From(kDamaged));
    if (!setup.Answer(L"Directory In Use", IDYES))
        return STILL_ACTIVE;
    HWND prompt = setup.WaitForDialog(L"Load Install Disk", 60000);
    if (!prompt)
        return STILL_ACTIVE;
    if (ending == Ending::CancelConfirmed)
        PressButton(prompt, IDCANCEL);
    else
        PostMessageW(setup.WaitForFrame(), WM_CLOSE, 0, 0);
    if (!setup.Answer(L"Cancel Installation", IDYES))
        return STILL_ACTIVE;
    return setup.WaitForExit(60000);
}

MachineSnapshot ReadMachine()
{
    MachineSnapshot machine;
    AddFolder(machine, L"C:\\TAPWRITE");
    AddFile(machine, SystemDirectory() + L"dlg3d32.dll");
    AddRegistryTree(machine, HKEY_LOCAL_MACHINE, L"Software\\Velmar");
    AddRegistryTree(machine, HKEY_LOCAL_MACHINE, kUninstallKey);
    for (UINT name : kServices)
        AddService(machine, BankString(1000 + name));
    return machine;
}

class InstallUndo : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ResetSetupState();
        RemoveProductInstall();
        RemoveTree(kDamaged);
    }
};

// Every way a reinstall can end before its copy completes gives the working
// install back: its files (an older version's file the copy removes, a
// read-only one it replaces), the system's library it replaced, the
// configuration (a key it makes, a value it rewrites) and the three
// services, registered, running and configured as before.
TEST_F(InstallUndo, AReinstallThatFailsLeavesTheWorkingInstallAsItWas)
{
    ASSERT_EQ(SetupProcess(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en"))).WaitForExit(120000),
              static_cast<DWORD>(kExitCompleted));
    CreateEmptyFile(kTarget + L"LAUNCHNT.EXE");
    CreateEmptyFile(kTarget + L"notes.txt");
    for (const wchar_t* name : {L"LAUNCHNT.EXE", L"twnetat.dll"})
        SetFileAttributesW((kTarget + name).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    // A library without version information, which the version check replaces.
    ASSERT_TRUE(CopyFileW(ProductFile(L"readme.txt").c_str(), (SystemDirectory() + L"dlg3d32.dll").c_str(), FALSE));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDisplayKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kDisplayKey);
    RegistryOverride dataPath(HKEY_LOCAL_MACHINE, kUserInterfaceKey, L"Data Path");
    ASSERT_TRUE(dataPath.Set(L"D:\\OLD\\DATA\\"));
    const MachineSnapshot before = ReadMachine();
    ASSERT_EQ(before.count(L"service " + BankString(1000 + IDS_SERVICE_SERVER)), 1u);

    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.what);
        MakeDamagedShare(damage);
        EXPECT_EQ(RunDamaged(damage.ending), static_cast<DWORD>(kExitNotCompleted));
        EXPECT_EQ(Differences(before, ReadMachine()), std::vector<std::wstring>{});
        for (UINT name : {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER})
            EXPECT_EQ(ServiceState(BankString(1000 + name)), static_cast<DWORD>(SERVICE_RUNNING)) << name;
    }
}

// A fresh install that fails leaves nothing of the product: no files, no
// directories it made, no keys, no library in the system directory.
TEST_F(InstallUndo, AFreshInstallThatFailsLeavesNothingOfTheProduct)
{
    for (const Damage& damage : {kDamages[0], kDamages[5]}) {
        SCOPED_TRACE(damage.what);
        MakeDamagedShare(damage);
        EXPECT_EQ(RunDamaged(Ending::Unattended), static_cast<DWORD>(kExitNotCompleted));
        EXPECT_FALSE(Exists(L"C:\\TAPWRITE"));
        EXPECT_FALSE(Exists(SystemDirectory() + L"dlg3d32.dll"));
        EXPECT_FALSE(ReadRegistryKey(L"Software\\Velmar").exists);
        EXPECT_FALSE(ReadRegistryKey(kUninstallKey).exists);
        for (UINT name : kServices)
            EXPECT_EQ(ServiceState(BankString(1000 + name)), 0u) << name;
    }
}

}  // namespace
