// setup.exe over a prior installation whose three services run their
// installed programs: the services are stopped before the files-in-use
// check, removed before the copy, and started again when the install ends
// at that check.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "res/resource_ids.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"
#include "support/test_services.h"

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";
const wchar_t* const kPrograms[] = {L"twnser.exe", L"twserver.exe", L"twnetns.exe"};

class ServicesInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
        CopyFolder(FixturePath(L"product"), kTarget);
        const UINT names[] = {IDS_SERVICE_NAMING, IDS_SERVICE_SERVER, IDS_SERVICE_BROWSER};
        for (int i = 0; i < 3; ++i) {
            services_.push_back(std::make_unique<TestService>(names[i], kTarget + kPrograms[i]));
            ASSERT_TRUE(services_.back()->Start());
        }
    }
    void TearDown() override
    {
        services_.clear();
        RemoveTree(L"C:\\TAPWRITE");
        RemoveProductRegistry();
        DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
    }

    // Runs an unattended Backup Server install from the English share.
    static DWORD Install()
    {
        SetupLaunch launch;
        launch.program = FixturePath(L"share-en") + L"setup.exe";
        SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", launch);
        return setup.WaitForExit(60000);
    }

    std::vector<std::unique_ptr<TestService>> services_;
};

TEST_F(ServicesInstall, RunningServicesAreStoppedAndRemovedBeforeTheCopy)
{
    // Still running, their programs would be files in use, which ends an
    // unattended install.
    EXPECT_EQ(Install(), 0u);
    for (const auto& service : services_)
        EXPECT_EQ(ServiceState(service->Name()), 0u) << service->Name().c_str();
    for (const wchar_t* program : kPrograms)
        EXPECT_TRUE(SameBytes(kTarget + program, ProductFile(program))) << program;
}

TEST_F(ServicesInstall, AnInstallEndedByAFileInUseStartsTheStoppedServicesAgain)
{
    HeldFile running = HoldFile(kTarget + L"TWWINNT.EXE", FILE_SHARE_READ);
    ASSERT_TRUE(running);
    EXPECT_EQ(Install(), 1u);
    for (const auto& service : services_)
        EXPECT_TRUE(WaitForServiceState(service->Name(), SERVICE_RUNNING)) << service->Name().c_str();
}

}  // namespace
