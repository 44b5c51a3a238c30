// Unattended installs from a share on which one compressed file is damaged:
// the install fails, and the files installed before it stay whole.
#include <gtest/gtest.h>

#include "support/install_support.h"
#include "support/setup_process.h"

namespace {

const std::wstring kShare = L"C:\\TWDAMAGED\\";
const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";

void Clean()
{
    RemoveTree(L"C:\\TAPWRITE");
    DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
}

TEST(DamagedSource, UnattendedInstallFailsAndKeepsTheFilesBefore)
{
    const std::wstring good = FixturePath(L"share-en");
    const std::wstring library = SystemDirectory() + L"dlg3d32.dll";
    RemoveTree(kShare);
    CopyFolder(good, kShare);
    SetupLaunch launch;
    launch.program = kShare + L"setup.exe";
    // JobScope Only installs setup.exe and the readme, then dlg3d32.dll into
    // the system directory, then nmsapi.dll.
    for (const wchar_t* damaged : {L"dlg3d32.dl_", L"nmsapi.dl_"}) {
        for (SourceDamage damage : kEverySourceDamage) {
            SCOPED_TRACE(DamageName(damage));
            SCOPED_TRACE(damaged);
            Clean();
            ASSERT_TRUE(WriteDamagedCopy(good + damaged, kShare + damaged, damage));
            SetupProcess setup(L"/SMS: /EV: /DEST:C:\\TAPWRITE\\NT", launch);
            EXPECT_EQ(setup.WaitForExit(60000), 1u);
            for (const wchar_t* name : {L"setup.exe", L"readme.txt"})
                EXPECT_TRUE(SameBytes(kTarget + name, ProductFile(name))) << name;
            if (damaged == std::wstring(L"nmsapi.dl_"))
                EXPECT_TRUE(SameBytes(library, FixturePath(L"dlg3d32-v1.dll")));
            else
                EXPECT_EQ(GetFileAttributesW(library.c_str()), INVALID_FILE_ATTRIBUTES);
            EXPECT_FALSE(FilesIn(kTarget).count(L"jobscope.exe"));
            ASSERT_TRUE(CopyFileW((good + damaged).c_str(), (kShare + damaged).c_str(), FALSE));
        }
    }
    Clean();
    RemoveTree(kShare);
}

}  // namespace
