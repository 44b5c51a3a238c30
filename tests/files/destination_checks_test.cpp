// The product directory before the copy: a prior installation, files held
// open, and files of older versions.
#include <gtest/gtest.h>

#include "files/destination_checks.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

const std::wstring kDir = L"C:\\TWCHECKS\\";

class DestinationChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState(L"setup.exe /L:1");
        RemoveTree(kDir);
        CreateDirectoryW(kDir.c_str(), nullptr);
    }
    void TearDown() override { RemoveTree(kDir); }

    static void Touch(const std::wstring& name) { CreateEmptyFile(kDir + name); }
};

TEST_F(DestinationChecks, PriorInstallationIsRecognisedWhateverTheCase)
{
    EXPECT_EQ(PriorInstallMask(kDir.c_str()), 0);
    Touch(L"README.TXT");
    Touch(L"ldrdll.dll");
    EXPECT_EQ(PriorInstallMask(kDir.c_str()), 0);
    EXPECT_EQ(ConfirmPriorInstall(kDir.c_str()), 0);
    Touch(L"twwinnt.exe");
    EXPECT_NE(PriorInstallMask(kDir.c_str()), 0);
    EXPECT_EQ(PriorInstallMask(L"C:\\NO_SUCH_DIRECTORY\\"), 0);
}

TEST_F(DestinationChecks, ReplacingAPriorInstallationIsTheUsersChoice)
{
    Touch(L"TWRESNT.DLL");
    {
        MessageBoxAnswerer answerer({IDNO, IDYES, MessageBoxAnswerer::kPressEnter});
        EXPECT_NE(ConfirmPriorInstall(kDir.c_str()), 0);
        EXPECT_EQ(ConfirmPriorInstall(kDir.c_str()), 0);
        EXPECT_NE(ConfirmPriorInstall(kDir.c_str()), 0);  // Enter means No
        ASSERT_EQ(answerer.Boxes().size(), 3u);
        EXPECT_EQ(answerer.Boxes()[0].caption, L"Directory In Use");
    }
    ResetSetupState(L"setup.exe /SMS: /TS:");
    MessageBoxAnswerer answerer({IDNO});
    EXPECT_EQ(ConfirmPriorInstall(kDir.c_str()), 0);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(DestinationChecks, FilesAboutToBeReplacedMustNotBeHeldOpen)
{
    Touch(L"TWWINNT.EXE");
    Touch(L"jobscope.exe");
    Touch(L"unrelated.dat");
    InstallType = kInstallJobScopeOnly;
    {
        // TWWINNT.EXE is not installed for JobScope Only; a program holding
        // a file that is not the product's does not matter either.
        HeldFile monitor = HoldFile(kDir + L"TWWINNT.EXE", 0);
        HeldFile other = HoldFile(kDir + L"unrelated.dat", 0);
        MessageBoxAnswerer answerer({IDCANCEL});
        EXPECT_EQ(CheckFilesInUse(kDir.c_str()), 1);
        EXPECT_TRUE(answerer.Boxes().empty());
    }
    {
        // Open for reading with full sharing still counts: the check wants
        // exclusive write access.
        HeldFile jobscope = HoldFile(kDir + L"jobscope.exe", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        ASSERT_NE(jobscope.get(), INVALID_HANDLE_VALUE);
        MessageBoxAnswerer answerer({IDRETRY, IDCANCEL});
        EXPECT_EQ(CheckFilesInUse(kDir.c_str()), 2);
        ASSERT_EQ(answerer.Boxes().size(), 2u);
        EXPECT_EQ(answerer.Boxes()[0].caption, L"Access Denied");
        EXPECT_EQ(answerer.Boxes()[0].text.find(L"The file 'jobscope.exe' appears to be in use."), 0u);
    }
    EXPECT_EQ(CheckFilesInUse(kDir.c_str()), 1);

    // A read-only product file is made writable rather than reported.
    SetFileAttributesW((kDir + L"jobscope.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CheckFilesInUse(kDir.c_str()), 1);
    EXPECT_FALSE(GetFileAttributesW((kDir + L"jobscope.exe").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(DestinationChecks, OnlyFilesOfOlderVersionsAreDeleted)
{
    for (const wchar_t* name : {L"README.TXT", L"LDRDLL.DLL", L"launchnt.exe", L"TWWINNT.HLP", L"notes.txt",
                                L"twserver.exe"})
        Touch(name);
    SetFileAttributesW((kDir + L"LDRDLL.DLL").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW((kDir + L"LDRSETUP.EXE").c_str(), nullptr);
    DeleteKnownFiles(kDir.c_str());
    EXPECT_EQ(FilesIn(kDir), (std::set<std::wstring>{L"notes.txt", L"twserver.exe"}));
    EXPECT_TRUE(IsDirectory(kDir + L"LDRSETUP.EXE"));
}

}  // namespace
