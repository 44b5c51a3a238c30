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
};

TEST_F(Destination, OnlyLocalFixedDrivesAreAccepted)
{
    EXPECT_TRUE(IsLocalFixedDrive(L"C:\\TAPWRITE\\NT"));
    // c:relative is taken from C:'s current directory; A: is the floppy drive.
    for (const wchar_t* path : {L"c:relative", L"C:", L"A:\\TAPWRITE", L"\\\\SERVER\\SHARE\\TAPWRITE", L"TAPW",
                                L"\\TAPWRITE", L""})
        EXPECT_FALSE(IsLocalFixedDrive(path)) << path;
}

TEST_F(Destination, PathIsCheckedBeforeEveryLevelIsCreated)
{
    CreateEmptyFile(L"C:\\TWFILE");
    const std::wstring tooLong = L"C:\\" + std::wstring(250, L'L') + L"\\NT";
    struct Case {
        const wchar_t* path;
        int result;
    } cases[] = {
        // The refusals come first, while nothing of C:\TWDEST may exist.
        {L"C:\\TWDEST\\PROGRAM FILES\\X", kDestinationInvalid},
        {L"C:\\TWDEST\\A\"B", kDestinationInvalid},
        {L"", kDestinationInvalid},
        {tooLong.c_str(), kDestinationInvalid},
        {L"C:\\TWFILE\\NT", kDestinationNotCreated},
        {L"C:\\TWDEST\\A\\NT", kDestinationReady},
        {L"C:\\TWDEST\\A\\NT\\", kDestinationReady},  // again over what exists
    };
    for (const Case& c : cases) {
        wchar_t path[kPathChars];
        lstrcpynW(path, c.path, kPathChars);
        EXPECT_EQ(PrepareDestination(path), c.result) << c.path;
        if (c.result == kDestinationInvalid) {
            EXPECT_FALSE(Exists(L"C:\\TWDEST")) << "refused before anything is made: " << c.path;
        }
    }
    for (const wchar_t* made : {L"C:\\TWDEST\\A", L"C:\\TWDEST\\A\\NT\\DATA", L"C:\\TWDEST\\A\\NT\\CATALOGS"})
        EXPECT_TRUE(IsDirectory(made)) << made;
}

TEST_F(Destination, RelativePathIsTakenFromTheWindowsDirectory)
{
    wchar_t path[kPathChars] = L"TAPW";
    EXPECT_EQ(PrepareDestination(path), kDestinationReady);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, ARRAYSIZE(windows));
    EXPECT_EQ(lstrcmpiW(path, (std::wstring(windows) + L"\\TAPW").c_str()), 0);
    EXPECT_TRUE(IsDirectory(std::wstring(windows) + L"\\TAPW\\CATALOGS"));
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

    CreateEmptyFile(L"C:\\TWFILE");
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
