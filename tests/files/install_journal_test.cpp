// The journal of an install's files: a rollback puts every file back as it
// was, times and attributes included, and removes what the run made; a file
// it cannot put back is reported with the place of its earlier copy, which
// stays. A completed install's journal leaves nothing behind.
#include <gtest/gtest.h>

#include "files/install_journal.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/machine_snapshot.h"

using namespace support;

namespace {

const std::wstring kDir = L"C:\\TWJOURNAL\\";
// Stands for the system directory, whose library the version check replaces.
const std::wstring kSystem = L"C:\\TWJOURNALSYS\\";

TEST(InstallJournal, RollBackPutsEveryFileBackAndReportsWhatItCannot)
{
    ResetSetupState(L"setup.exe /L:1");
    RemoveTree(kDir);
    RemoveTree(kSystem);
    CreateDirectoryW(kDir.c_str(), nullptr);
    CreateDirectoryW(kSystem.c_str(), nullptr);
    WriteBytes(kDir + L"old.dll", "an older version's library");
    SetFileAttributesW((kDir + L"old.dll").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(kDir + L"held.exe", "the program before");
    WriteBytes(kSystem + L"lib.dll", "library one");
    MachineSnapshot before;
    AddFolder(before, kDir);
    AddFolder(before, kSystem);

    BeginFileJournal();
    SetJournalDirectory(kDir.c_str());
    ASSERT_TRUE(CreateDirectoryW((kDir + L"DATA").c_str(), nullptr));
    RecordCreatedDirectory((kDir + L"DATA").c_str());
    EXPECT_TRUE(SetAsideFile((kDir + L"DATA").c_str())) << "a directory stays where it is";
    for (const wchar_t* name : {L"old.dll", L"new.dll", L"held.exe"}) {
        ASSERT_TRUE(SetAsideFile((kDir + name).c_str())) << name;
        WriteBytes(kDir + name, "half-written");
    }
    ASSERT_TRUE(KeepCopyOfFile((kSystem + L"lib.dll").c_str()));
    WriteBytes(kSystem + L"lib.dll", "library version two");
    HeldFile running = HoldFile(kDir + L"held.exe", 0);
    ASSERT_TRUE(running);
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_FALSE(RollBackFileJournal());
    running.reset();

    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Unable to Restore File");
    const std::wstring kept = kDir + L"~TWUNDO.000\\held.exe";
    EXPECT_NE(answerer.Boxes()[0].text.find(L"\"" + kDir + L"held.exe\""), std::wstring::npos);
    EXPECT_NE(answerer.Boxes()[0].text.find(L"\"" + kept + L"\""), std::wstring::npos);
    MachineSnapshot after;
    AddFolder(after, kDir);
    AddFolder(after, kSystem);
    EXPECT_EQ(Differences(before, after),
              (std::vector<std::wstring>{L"changed: file " + kDir + L"held.exe", L"new: file " + kept,
                                         L"new: folder " + kDir + L"~TWUNDO.000"}));
    EXPECT_EQ(FileBytes(kept), "the program before");

    // Completed: what was set aside goes, and the run's folder with it.
    BeginFileJournal();
    SetJournalDirectory(kSystem.c_str());
    ASSERT_TRUE(SetAsideFile((kSystem + L"lib.dll").c_str()));
    EXPECT_FALSE(Exists(kSystem + L"lib.dll"));
    CloseFileJournal();
    MachineSnapshot completed;
    AddFolder(completed, kSystem);
    EXPECT_EQ(completed.size(), 1u) << "the folder alone";
    RemoveTree(kDir);
    RemoveTree(kSystem);
}

}  // namespace
