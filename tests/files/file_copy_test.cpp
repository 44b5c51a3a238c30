// One file from the source: expanded byte for byte with its time, a damaged
// source refused by both kinds of install, the version check keeping a newer
// file and nobody else's, and a failure that stays failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "files/copy_progress.h"
#include "files/file_copy.h"
#include "files/file_table.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

const std::wstring kShare = FixturePath(L"share-en");
const std::wstring kTarget = L"C:\\TWCOPY\\";
const std::wstring kDamaged = L"C:\\TWDAMAGED\\";
const std::wstring kLibrary = L"dlg3d32.dll";

// Installs a compressed file of the share into `destination`.
int Install(const std::wstring& destination, const wchar_t* diskName, const wchar_t* name, bool versionChecked)
{
    return InstallOneFile(kShare.c_str(), destination.c_str(), diskName, name, true, versionChecked);
}

class FileCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState(L"setup.exe /L:1");
        InitCopyProgress();
        TearDown();
        CreateDirectoryW(kTarget.c_str(), nullptr);
        CreateDirectoryW(kDamaged.c_str(), nullptr);
    }
    void TearDown() override
    {
        RemoveTree(kTarget);
        RemoveTree(kDamaged);
        DeleteFileW((SystemDirectory() + kLibrary).c_str());
    }
};

TEST_F(FileCopy, EveryProductFileArrivesWholeWithItsTime)
{
    MessageBoxAnswerer answerer({IDOK});
    int compressed = 0;
    for (int i = 0; i < kFileCount; ++i) {
        const FileEntry& row = kFileTable[i];
        if (row.destination != kDestinationProduct)
            continue;
        std::wstring name = BankString(1000 + row.installedNameId);
        ASSERT_EQ(InstallOneFile(kShare.c_str(), kTarget.c_str(), 1000 + row.compressedNameId,
                                 1000 + row.installedNameId, (row.flags & kFileCompressed) != 0, false),
                  1)
            << name.c_str();
        EXPECT_TRUE(SameBytes(kTarget + name, ProductFile(name))) << name.c_str();
        EXPECT_EQ(LastWriteTime(kTarget + name), LastWriteTime(ProductFile(name))) << name.c_str();
        compressed += (row.flags & kFileCompressed) != 0;
    }
    EXPECT_EQ(compressed, 18);
    EXPECT_FALSE(CopyErrorFlag);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(FileCopy, DamagedCompressedSourceIsAReadErrorAndReplacesNothing)
{
    // A library without version information is replaced by any readable one.
    const std::wstring unversioned = ProductFile(L"readme.txt");
    const std::set<std::wstring> temporaryBefore = FilesIn(std::filesystem::temp_directory_path());
    for (const SourceDamage& damage : kEverySourceDamage) {
        for (auto [diskName, name, versionChecked] :
             {std::tuple{L"twserver.ex_", L"twserver.exe", false}, {L"dlg3d32.dl_", L"dlg3d32.dll", true}}) {
            SCOPED_TRACE(std::string(damage.name) + (versionChecked ? ", version-checked" : ""));
            ASSERT_TRUE(WriteDamagedCopy(kShare + diskName, kDamaged + diskName, damage));
            ASSERT_TRUE(CopyFileW(unversioned.c_str(), (kTarget + kLibrary).c_str(), FALSE));
            CopyErrorFlag = false;
            MessageBoxAnswerer answerer({IDOK});
            EXPECT_EQ(InstallOneFile(kDamaged.c_str(), kTarget.c_str(), diskName, name, true, versionChecked), 0);
            EXPECT_TRUE(CopyErrorFlag);
            ASSERT_EQ(answerer.Boxes().size(), 1u);
            EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Reading File");
            EXPECT_NE(answerer.Boxes()[0].text.find(kDamaged + diskName), std::wstring::npos);
            EXPECT_TRUE(SameBytes(kTarget + kLibrary, unversioned));
            EXPECT_EQ(FilesIn(std::filesystem::temp_directory_path()), temporaryBefore);
        }
    }
    // Once a copy has failed, every later plain copy reports failure.
    EXPECT_EQ(Install(kTarget, L"nmsapi.dl_", L"nmsapi.dll", false), 0);
}

TEST_F(FileCopy, DestinationThatCannotBeCreatedIsRetriedOrGivenUp)
{
    CreateDirectoryW((kTarget + L"nmsapi.dll").c_str(), nullptr);  // a directory in the file's place
    {
        MessageBoxAnswerer answerer({IDRETRY, IDCANCEL});
        EXPECT_EQ(Install(kTarget, L"nmsapi.dl_", L"nmsapi.dll", false), 0);
        ASSERT_EQ(answerer.Boxes().size(), 2u);
        EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Opening Destination File");
        EXPECT_NE(answerer.Boxes()[0].text.find(L"Tapewright 6.0 or Tapewright Job Launcher"), std::wstring::npos);
        EXPECT_TRUE(CopyErrorFlag);
    }
    // Unattended, the question is answered Cancel without being shown.
    ResetSetupState(L"setup.exe /SMS: /TS:");
    MessageBoxAnswerer answerer({IDRETRY});
    EXPECT_EQ(Install(kTarget, L"nmsapi.dl_", L"nmsapi.dll", false), 0);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(FileCopy, VersionCheckKeepsANewerFileRemovesNoOtherProgramsFileAndFailsWhenNoFileIsLeft)
{
    const std::wstring system = SystemDirectory();
    const std::wstring othersFile = system + L"twother.tmp";
    const std::set<std::wstring> before = FilesIn(system);
    const std::set<std::wstring> temporaryBefore = FilesIn(std::filesystem::temp_directory_path());
    ASSERT_EQ(Install(system, L"dlg3d32.dl_", kLibrary.c_str(), true), 1);
    EXPECT_TRUE(SameBytes(system + kLibrary, FixturePath(L"dlg3d32-v1.dll")));

    // Another program creates a file in the folder while setup works there.
    ASSERT_TRUE(CopyFileW(FixturePath(L"dlg3d32-v2.dll").c_str(), (system + kLibrary).c_str(), FALSE));
    HANDLE change = FindFirstChangeNotificationW(system.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    std::thread other([&] {
        if (WaitForSingleObject(change, 5000) == WAIT_OBJECT_0)
            CreateEmptyFile(othersFile);
    });
    EXPECT_EQ(Install(system, L"dlg3d32.dl_", kLibrary.c_str(), true), 1);
    other.join();
    FindCloseChangeNotification(change);
    EXPECT_TRUE(SameBytes(system + kLibrary, FixturePath(L"dlg3d32-v2.dll")));
    EXPECT_TRUE(DeleteFileW(othersFile.c_str()));
    // The platform's copy of the source stays where the platform does not
    // name it; nothing else is left behind.
    for (const std::wstring& name : FilesIn(system)) {
        if (before.count(name) || name == kLibrary)
            continue;
        EXPECT_TRUE(SameBytes(system + name, FixturePath(L"dlg3d32-v1.dll"))) << "left behind: " << name.c_str();
        DeleteFileW((system + name).c_str());
    }
    EXPECT_EQ(FilesIn(std::filesystem::temp_directory_path()), temporaryBefore);
    EXPECT_FALSE(CopyErrorFlag);

    // Something that is not a file stands where the library must go: the
    // install that leaves no file fails.
    CreateDirectoryW((kTarget + kLibrary).c_str(), nullptr);
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(Install(kTarget, L"dlg3d32.dl_", kLibrary.c_str(), true), 0);
    EXPECT_TRUE(CopyErrorFlag);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Writing File");
}

}  // namespace
