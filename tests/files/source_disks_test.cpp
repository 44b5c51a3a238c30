// Recognising a source disk by its volume label or by the file sought.
#include <gtest/gtest.h>

#include "files/source_disks.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

TEST(SourceDisks, DiskIsRecognisedByLabelOrByTheFileSought)
{
    ResetSetupState();
    const std::wstring disks = FixturePath(L"disks-en");
    ASSERT_TRUE(InsertDisk(disks + L"disk2\\"));
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"disk2", L"no-such-file"));  // label, case ignored
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"DISK2", nullptr));
    EXPECT_FALSE(IsExpectedDisk(L"A:\\", L"DISK3", L"no-such-file"));
    EXPECT_FALSE(IsExpectedDisk(L"A:\\", L"DISK3", nullptr));
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"DISK3", L"twnser.ex_"));  // the file is there

    // A directory is no volume: only the file counts.
    const std::wstring share = FixturePath(L"share-en");
    EXPECT_TRUE(IsExpectedDisk(share.c_str(), L"DISK2", L"twdiag.ex_"));
    EXPECT_FALSE(IsExpectedDisk(share.c_str(), L"DISK2", L"missing.ex_"));
    EXPECT_FALSE(IsExpectedDisk(L"", L"DISK2", L"twdiag.ex_"));

    // A path too long to hold the file name as well is not looked into.
    std::wstring deep = L"C:\\" + std::wstring(245, L'd') + L"\\";
    EXPECT_FALSE(IsExpectedDisk(deep.c_str(), L"DISK2", L"twdiag.ex_"));
}

}  // namespace
