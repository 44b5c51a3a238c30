// One file from the source: expanded byte for byte with its time, a damaged
// source refused by both kinds of install, the version check keeping a newer
// file and nobody else's, and a failure that stays failed.
#include <gtest/gtest.h>

#include "files/copy_progress.h"
#include "files/file_copy.h"
#include "files/file_table.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

const std::wstring kTarget = L"C:\\TWCOPY\\";
const std::wstring kDamaged = L"C:\\TWDAMAGED\\";

std::wstring TemporaryFolder()
{
    wchar_t folder[MAX_PATH + 1];
    DWORD chars = GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder, chars);
}

class FileCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState(L"setup.exe /L:1");
        CopyErrorFlag = false;
        CurrentDisk = 1;
        InitCopyProgress();
        RemoveTree(kTarget);
        RemoveTree(kDamaged);
        CreateDirectoryW(kTarget.c_str(), nullptr);
        ASSERT_NE(GetFileAttributesW(FixturePath(L"share-en").c_str()), INVALID_FILE_ATTRIBUTES);
    }
    void TearDown() override
    {
        RemoveTree(kTarget);
        RemoveTree(kDamaged);
        DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
    }

    static std::wstring Share() { return FixturePath(L"share-en"); }
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
        ASSERT_EQ(InstallOneFile(Share().c_str(), kTarget.c_str(), 1000 + row.compressedNameId,
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
    struct Row {
        const wchar_t* diskName;
        const wchar_t* installedName;
        bool versionChecked;
    };
    const Row rows[] = {{L"twserver.ex_", L"twserver.exe", false}, {L"dlg3d32.dl_", L"dlg3d32.dll", true}};
    // A library without version information is replaced by any readable one.
    const std::wstring unversioned = ProductFile(L"readme.txt");
    const std::set<std::wstring> temporaryBefore = FilesIn(TemporaryFolder());
    CreateDirectoryW(kDamaged.c_str(), nullptr);
    for (SourceDamage damage : kEverySourceDamage) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(DamageName(damage)) + (row.versionChecked ? ", version-checked" : ""));
            ASSERT_TRUE(WriteDamagedCopy(Share() + row.diskName, kDamaged + row.diskName, damage));
            ASSERT_TRUE(CopyFileW(unversioned.c_str(), (kTarget + L"dlg3d32.dll").c_str(), FALSE));
            CopyErrorFlag = false;
            MessageBoxAnswerer answerer({IDOK});
            EXPECT_EQ(InstallOneFile(kDamaged.c_str(), kTarget.c_str(), row.diskName, row.installedName, true,
                                     row.versionChecked),
                      0);
            EXPECT_TRUE(CopyErrorFlag);
            std::vector<MessageBoxAnswerer::Box> boxes = answerer.Boxes();
            EXPECT_EQ(boxes.size(), 1u);
            boxes.resize(1);
            EXPECT_EQ(boxes[0].caption, L"Error Reading File");
            EXPECT_NE(boxes[0].text.find(kDamaged + row.diskName), std::wstring::npos);
            EXPECT_TRUE(SameBytes(kTarget + L"dlg3d32.dll", unversioned));
            EXPECT_EQ(FilesIn(TemporaryFolder()), temporaryBefore);
        }
    }
    // Once a copy has failed, every later plain copy reports failure.
    EXPECT_EQ(InstallOneFile(Share().c_str(), kTarget.c_str(), L"nmsapi.dl_", L"nmsapi.dll", true, false), 0);
}

TEST_F(FileCopy, DestinationThatCannotBeCreatedIsRetriedOrGivenUp)
{
    CreateDirectoryW((kTarget + L"nmsapi.dll").c_str(), nullptr);  // a directory in the file's place
    {
        MessageBoxAnswerer answerer({IDRETRY, IDCANCEL});
        EXPECT_EQ(InstallOneFile(Share().c_str(), kTarget.c_str(), L"nmsapi.dl_", L"nmsapi.dll", true, false), 0);
        ASSERT_EQ(answerer.Boxes().size(), 2u);
        EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Opening Destination File");
        EXPECT_NE(answerer.Boxes()[0].text.find(L"Tapewright 6.0 or Tapewright Job Launcher"), std::wstring::npos);
        EXPECT_TRUE(CopyErrorFlag);
    }
    // Unattended, the question is answered Cancel without being shown.
    ResetSetupState(L"setup.exe /SMS: /TS:");
    CopyErrorFlag = false;
    MessageBoxAnswerer answerer({IDRETRY});
    EXPECT_EQ(InstallOneFile(Share().c_str(), kTarget.c_str(), L"nmsapi.dl_", L"nmsapi.dll", true, false), 0);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(FileCopy, VersionCheckKeepsANewerFileAndRemovesNoOtherProgramsFile)
{
    const std::wstring system = SystemDirectory();
    const std::wstring installed = system + L"dlg3d32.dll";
    const std::wstring othersFile = system + L"twother.tmp";
    const std::wstring temporaryFolder = TemporaryFolder();
    DeleteFileW(installed.c_str());
    std::set<std::wstring> before = FilesIn(system);
    std::set<std::wstring> temporaryBefore = FilesIn(temporaryFolder);

    ASSERT_EQ(InstallOneFile(Share().c_str(), system.c_str(), L"dlg3d32.dl_", L"dlg3d32.dll", true, true), 1);
    EXPECT_TRUE(SameBytes(installed, FixturePath(L"dlg3d32-v1.dll")));

    ASSERT_TRUE(CopyFileW(FixturePath(L"dlg3d32-v2.dll").c_str(), installed.c_str(), FALSE));
    {
        FileCreatedOnChange other(system, othersFile);
        ASSERT_EQ(InstallOneFile(Share().c_str(), system.c_str(), L"dlg3d32.dl_", L"dlg3d32.dll", true, true), 1);
    }
    EXPECT_TRUE(SameBytes(installed, FixturePath(L"dlg3d32-v2.dll")));
    EXPECT_TRUE(DeleteFileW(othersFile.c_str()));
    // The platform's copy of the source stays where the platform does not
    // name it; nothing else is left behind.
    for (const std::wstring& name : FilesIn(system)) {
        if (before.count(name) || name == L"dlg3d32.dll")
            continue;
        EXPECT_TRUE(SameBytes(system + name, FixturePath(L"dlg3d32-v1.dll"))) << "left behind: " << name.c_str();
        DeleteFileW((system + name).c_str());
    }
    EXPECT_EQ(FilesIn(temporaryFolder), temporaryBefore);
    EXPECT_FALSE(CopyErrorFlag);
}

TEST_F(FileCopy, VersionCheckedInstallThatLeavesNoFileFails)
{
    // Something that is not a file stands where the library must go.
    const std::wstring blocked = kTarget + L"dlg3d32.dll";
    CreateDirectoryW(blocked.c_str(), nullptr);
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_EQ(InstallOneFile(Share().c_str(), kTarget.c_str(), L"dlg3d32.dl_", L"dlg3d32.dll", true, true), 0);
    EXPECT_TRUE(CopyErrorFlag);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Writing File");
    RemoveDirectoryW(blocked.c_str());
}

}  // namespace
