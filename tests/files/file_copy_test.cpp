// One file from the source: a damaged source is a read error that replaces
// nothing, by either kind of install, and a failure stays failed; and a
// source disk is recognised by its label or by the file sought.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/copy_progress.h"
#include "files/file_copy.h"
#include "files/source_disks.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

using namespace support;

namespace {

TEST(FileCopy, DamagedCompressedSourceIsAReadErrorAndReplacesNothing)
{
    const std::wstring share = FixturePath(L"share-en"), damaged = L"C:\\TWDAMAGED\\", target = L"C:\\TWCOPY\\";
    const std::wstring temporary = std::filesystem::temp_directory_path();
    // One damage for each check of the reader: the header's size, the
    // signature (this file declares the length of its plain bytes), the length.
    const std::pair<const char*, void (*)(std::string&)> damages[] = {
        {"shorter than the header", [](std::string& bytes) { bytes.resize(10); }},
        {"no signature", [](std::string& bytes) { bytes.assign("not SZDD: \x0e\0\0\0", 14); }},
        {"cut in half", [](std::string& bytes) { bytes.resize(bytes.size() / 2); }},
    };
    ResetSetupState(L"setup.exe /L:1");
    InitCopyProgress();
    CreateDirectoryW(damaged.c_str(), nullptr);
    CreateDirectoryW(target.c_str(), nullptr);
    // A library without version information is replaced by any readable one.
    const std::wstring unversioned = ProductFile(L"readme.txt");
    const std::set<std::wstring> temporaryBefore = FilesIn(temporary);
    for (auto [what, damage] : damages) {
        for (auto [diskName, name, versionChecked] :
             {std::tuple{L"twserver.ex_", L"twserver.exe", false}, {L"dlg3d32.dl_", L"dlg3d32.dll", true}}) {
            SCOPED_TRACE(std::string(what) + (versionChecked ? ", version-checked" : ""));
            std::string bytes = FileBytes(share + diskName);
            damage(bytes);
            std::ofstream(std::filesystem::path(damaged + diskName), std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            ASSERT_TRUE(CopyFileW(unversioned.c_str(), (target + L"dlg3d32.dll").c_str(), FALSE));
            CopyErrorFlag = false;
            MessageBoxAnswerer answerer({IDOK});
            EXPECT_FALSE(InstallOneFile(damaged.c_str(), target.c_str(), diskName, name, true, versionChecked));
            EXPECT_TRUE(CopyErrorFlag);
            ASSERT_EQ(answerer.Boxes().size(), 1u);
            EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Reading File");
            EXPECT_NE(answerer.Boxes()[0].text.find(damaged + diskName), std::wstring::npos);
            EXPECT_TRUE(SameBytes(target + L"dlg3d32.dll", unversioned));
            EXPECT_EQ(FilesIn(temporary), temporaryBefore);
        }
    }
    // Once a copy has failed, every later plain copy reports failure.
    EXPECT_FALSE(InstallOneFile(share.c_str(), target.c_str(), L"nmsapi.dl_", L"nmsapi.dll", true, false));
    RemoveTree(damaged);
    RemoveTree(target);
}

// The version check keeps a newer library in the system directory, and the
// platform's leftover copy is removed without taking another program's file.
TEST(FileCopy, VersionCheckKeepsANewerFileAndNobodyElses)
{
    const std::wstring share = FixturePath(L"share-en"), system = SystemDirectory(), library = system + L"dlg3d32.dll";
    ResetSetupState(L"setup.exe /L:1");
    InitCopyProgress();
    const std::set<std::wstring> before = FilesIn(system);
    ASSERT_TRUE(CopyFileW(FixturePath(L"dlg3d32-v2.dll").c_str(), library.c_str(), FALSE));
    const std::wstring othersFile = system + L"twother.tmp";
    CreateEmptyFile(othersFile);
    EXPECT_TRUE(InstallOneFile(share.c_str(), system.c_str(), L"dlg3d32.dl_", L"dlg3d32.dll", true, true));
    EXPECT_TRUE(SameBytes(library, FixturePath(L"dlg3d32-v2.dll")));
    EXPECT_TRUE(DeleteFileW(othersFile.c_str()));
    EXPECT_FALSE(CopyErrorFlag);
    // Wine never names its copy of the source, so an unnamed one may stay.
    for (const std::wstring& name : FilesIn(system)) {
        if (!before.count(name) && name != L"dlg3d32.dll") {
            EXPECT_TRUE(SameBytes(system + name, FixturePath(L"dlg3d32-v1.dll"))) << name.c_str();
        }
    }
    DeleteFileW(library.c_str());
}

TEST(SourceDisks, DiskIsRecognisedByLabelOrByTheFileSought)
{
    ResetSetupState();
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk2")));
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"disk2", L"no-such-file"));  // the label, case ignored
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"DISK3", L"twnser.ex_"));    // the file is there
    // A directory is no volume: only the file counts, where the path has room.
    const std::wstring share = FixturePath(L"share-en"), deep = L"C:\\" + std::wstring(245, L'd') + L"\\";
    EXPECT_TRUE(IsExpectedDisk(share.c_str(), L"DISK2", L"twdiag.ex_"));
    EXPECT_FALSE(IsExpectedDisk(share.c_str(), L"DISK2", L"missing.ex_"));
    EXPECT_FALSE(IsExpectedDisk(deep.c_str(), L"DISK2", L"twdiag.ex_"));
}

}  // namespace
