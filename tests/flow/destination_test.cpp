// The product directory checked and created: paths refused before anything
// is made, relative paths, every level created, and true free space.
#include <gtest/gtest.h>

#include "flow/destination.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

class Destination : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState(L"setup.exe /L:1");
        Clean();
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveTree(L"C:\\TWDEST");
        RemoveTree(L"C:\\windows\\TAPW");
        RemoveTree(L"C:\\TWFILE");
    }
    static bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }
};

TEST_F(Destination, OnlyLocalFixedDrivesAreAccepted)
{
    EXPECT_TRUE(IsLocalFixedDrive(L"C:\\TAPWRITE\\NT"));
    EXPECT_FALSE(IsLocalFixedDrive(L"c:relative"));  // taken from C:'s current directory
    EXPECT_FALSE(IsLocalFixedDrive(L"C:"));
    EXPECT_FALSE(IsLocalFixedDrive(L"A:\\TAPWRITE"));  // the floppy drive
    EXPECT_FALSE(IsLocalFixedDrive(L"\\\\SERVER\\SHARE\\TAPWRITE"));
    EXPECT_FALSE(IsLocalFixedDrive(L"TAPW"));
    EXPECT_FALSE(IsLocalFixedDrive(L"\\TAPWRITE"));
    EXPECT_FALSE(IsLocalFixedDrive(L""));
}

TEST_F(Destination, EveryLevelIsCreatedWithDataAndCatalogs)
{
    wchar_t path[kPathChars] = L"C:\\TWDEST\\A\\NT";
    EXPECT_EQ(PrepareDestination(path), kDestinationReady);
    EXPECT_STREQ(path, L"C:\\TWDEST\\A\\NT");
    for (const wchar_t* made : {L"C:\\TWDEST", L"C:\\TWDEST\\A", L"C:\\TWDEST\\A\\NT", L"C:\\TWDEST\\A\\NT\\DATA",
                                L"C:\\TWDEST\\A\\NT\\CATALOGS"})
        EXPECT_TRUE(GetFileAttributesW(made) & FILE_ATTRIBUTE_DIRECTORY) << made;

    // Again over what exists, and with a trailing backslash.
    wchar_t again[kPathChars] = L"C:\\TWDEST\\A\\NT\\";
    EXPECT_EQ(PrepareDestination(again), kDestinationReady);
}

TEST_F(Destination, RelativePathIsTakenFromTheWindowsDirectory)
{
    wchar_t path[kPathChars] = L"TAPW";
    EXPECT_EQ(PrepareDestination(path), kDestinationReady);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(path, (std::wstring(windows) + L"\\TAPW").c_str()), 0);
    EXPECT_TRUE(Exists((std::wstring(windows) + L"\\TAPW\\CATALOGS").c_str()));
}

TEST_F(Destination, InvalidPathsAreRefusedBeforeAnythingIsMade)
{
    wchar_t spaced[kPathChars] = L"C:\\TWDEST\\PROGRAM FILES\\X";
    EXPECT_EQ(PrepareDestination(spaced), kDestinationInvalid);
    EXPECT_FALSE(Exists(L"C:\\TWDEST"));
    wchar_t empty[kPathChars] = L"";
    EXPECT_EQ(PrepareDestination(empty), kDestinationInvalid);
    std::wstring longPath = L"C:\\" + std::wstring(250, L'L') + L"\\NT";
    wchar_t tooLong[kPathChars];
    lstrcpynW(tooLong, longPath.c_str(), kPathChars);
    EXPECT_EQ(PrepareDestination(tooLong), kDestinationInvalid);
}

TEST_F(Destination, LevelThatCannotBeMadeIsReported)
{
    HANDLE file = CreateFileW(L"C:\\TWFILE", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    wchar_t path[kPathChars] = L"C:\\TWFILE\\NT";
    EXPECT_EQ(PrepareDestination(path), kDestinationNotCreated);
}

TEST_F(Destination, FreeSpaceIsReportedInFullAbove4Gigabytes)
{
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &available, &total, &free));
    ULONGLONG reported = FreeKilobytes(L"C:\\TAPWRITE\\NT");
    if (free.QuadPart <= 4ull << 30)
        GTEST_SKIP() << "drive C: has 4 GB free or less";
    EXPECT_GT(reported, 4ull << 20);
    // Within a percent of what the platform says (other programs write too).
    EXPECT_NEAR(static_cast<double>(reported), static_cast<double>(free.QuadPart / 1024),
                static_cast<double>(free.QuadPart / 1024) / 100);
}

TEST_F(Destination, DestinationOptionPassesTheDialogsChecks)
{
    ResetSetupState(L"setup.exe /SMS: /TS: /DEST:C:\\TWDEST\\NT");
    wchar_t path[kPathChars] = L"C:\\TAPWRITE\\NT";
    EXPECT_TRUE(ChooseDestination(nullptr, path));
    EXPECT_STREQ(path, L"C:\\TWDEST\\NT\\");
    EXPECT_FALSE(CommonGroup);

    HANDLE file = CreateFileW(L"C:\\TWFILE", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    struct Case {
        std::wstring destination;
        const wchar_t* caption;  // of the message the dialog would show
    } cases[] = {
        {L"", L"Invalid Destination Path"},
        {L"\"\"", L"Invalid Destination Path"},
        {L"C:\\" + std::wstring(300, L'x'), L"Invalid Destination Path"},
        {L"TAPW", L"Installation Warning"},
        {L"C:", L"Installation Warning"},
        {L"C:\\TWFILE\\NT", L"Unable to Create Destination Path"},
    };
    for (const Case& c : cases) {
        std::wstring line = L"setup.exe /L:1 /TS: /DEST:" + c.destination;
        ResetSetupState(line.c_str());
        MessageBoxAnswerer answerer({IDOK});
        wchar_t unchanged[kPathChars] = L"C:\\TAPWRITE\\NT";
        EXPECT_FALSE(ChooseDestination(nullptr, unchanged)) << line;
        EXPECT_STREQ(unchanged, L"C:\\TAPWRITE\\NT") << line;
        ASSERT_EQ(answerer.Boxes().size(), 1u) << line;
        EXPECT_EQ(answerer.Boxes()[0].caption, c.caption) << line;
    }
}

}  // namespace
