// setup.exe installing over a prior installation whose services run: they
// are stopped before the files-in-use check and removed before the copy, and
// started again when the install is abandoned at that check.
#include <gtest/gtest.h>

#include <memory>

#include "res/resource_ids.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/setup_process.h"
#include "support/test_services.h"

namespace {

const std::wstring kTarget = L"C:\\TAPWRITE\\NT\\";

class ServicesInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        Clean();
        // The prior installation: the product's files, with its three
        // services running the installed programs.
        CreateDirectoryW(L"C:\\TAPWRITE", nullptr);
        CopyFolder(FixturePath(L"product"), kTarget);
        const struct {
            UINT nameId;
            const wchar_t* program;
        } services[] = {{IDS_SERVICE_NAMING, L"twnser.exe"},
                        {IDS_SERVICE_SERVER, L"twserver.exe"},
                        {IDS_SERVICE_BROWSER, L"twnetns.exe"}};
        for (const auto& service : services) {
            services_.push_back(std::make_unique<TestService>(service.nameId, kTarget + service.program,
                                                              SERVICE_AUTO_START));
            ASSERT_TRUE(services_.back()->Start());
        }
    }
    void TearDown() override
    {
        services_.clear();
        Clean();
    }

    static void Clean()
    {
        RemoveTree(L"C:\\TAPWRITE");
        RemoveProductRegistry();
        DeleteFileW((SystemDirectory() + L"dlg3d32.dll").c_str());
    }

    static SetupLaunch FromShare()
    {
        SetupLaunch launch;
        launch.program = FixturePath(L"share-en") + L"setup.exe";
        return launch;
    }

    std::vector<std::unique_ptr<TestService>> services_;
};

TEST_F(ServicesInstall, TheRunningServicesAreStoppedAndRemovedBeforeTheCopy)
{
    SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    ASSERT_TRUE(setup.Started());
    // Running, the service programs would hold their files, and the
    // unattended install would end at the files-in-use check.
    EXPECT_EQ(setup.WaitForExit(60000), 0u);
    for (const auto& service : services_)
        EXPECT_EQ(ServiceState(service->Name()), 0u) << service->Name().c_str();
    for (const wchar_t* program : {L"twnser.exe", L"twserver.exe", L"twnetns.exe"})
        EXPECT_TRUE(SameBytes(kTarget + program, ProductFile(program))) << program;
}

TEST_F(ServicesInstall, AnInstallAbandonedAtAFileInUseStartsTheStoppedServicesAgain)
{
    HeldFile running(kTarget + L"TWWINNT.EXE", FILE_SHARE_READ);
    ASSERT_TRUE(running.Held());
    SetupProcess setup(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", FromShare());
    ASSERT_TRUE(setup.Started());
    EXPECT_EQ(setup.WaitForExit(60000), 1u);
    for (const auto& service : services_)
        EXPECT_TRUE(WaitForServiceState(service->Name(), SERVICE_RUNNING)) << service->Name().c_str();
}

}  // namespace
