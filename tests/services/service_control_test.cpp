// Stopping, removing and restarting the product's services in the test
// prefix's real Service Control Manager, with the project's service program
// behaving as each case needs.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "services/platform_calls.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "services/stop_wait.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/test_services.h"

namespace {

constexpr int kNamingRow = 0;
constexpr int kBrowserRow = 2;
const wchar_t kDestination[] = L"C:\\TAPWRITE\\NT\\";

// Each service runs its own copy of the service program, as installed.
std::wstring ProgramOf(UINT nameId)
{
    return ProductFile(nameId == IDS_SERVICE_NAMING   ? L"twnser.exe"
                       : nameId == IDS_SERVICE_SERVER ? L"twserver.exe"
                                                      : L"twnetns.exe");
}

class ServiceControl : public ::testing::Test {
protected:
    void SetUp() override { ResetSetupState(); }
};

TEST_F(ServiceControl, ExactlyWhatWasStoppedIsStartedAgainAndEveryServiceIsRemoved)
{
    // Absent services count as stopped and removed.
    EXPECT_EQ(StopServices(kDestination) + RemoveServices(kDestination), 2);
    EXPECT_EQ(ServicesStoppedByRun, 0u);
    ServiceBehaviour stalls;
    stalls.stopStalls = 1;
    TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING));
    TestService server(IDS_SERVICE_SERVER, ProgramOf(IDS_SERVICE_SERVER), SERVICE_DEMAND_START, stalls);
    TestService browser(IDS_SERVICE_BROWSER, ProgramOf(IDS_SERVICE_BROWSER));
    ASSERT_TRUE(naming.Start() && browser.Start() && server.Created());
    EXPECT_EQ(StopServices(kDestination), 1);
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    ASSERT_EQ(ServicesStoppedByRun, (1u << kNamingRow) | (1u << kBrowserRow));

    // The first fails to start: the others are still started.
    ServiceBehaviour fails;
    fails.neverStart = 1;
    naming.SetBehaviour(fails);
    EXPECT_EQ(StartServices(kDestination), 0);
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOPPED)) << "stopped before setup ran";
    EXPECT_TRUE(WaitForServiceState(browser.Name(), SERVICE_RUNNING));
    DWORD process = ServiceProcess(browser.Name());
    EXPECT_EQ(StartServices(kDestination), 0);
    EXPECT_EQ(ServiceProcess(browser.Name()), process) << "a running service is left alone";

    // A stop that is given up on does not keep the service from deletion:
    // it goes when its program ends.
    naming.SetBehaviour({});
    ASSERT_TRUE(naming.Start() && server.Start());
    EXPECT_EQ(RemoveServices(kDestination), 1);
    EXPECT_TRUE(WaitForServiceState(naming.Name(), 0));
    EXPECT_TRUE(WaitForServiceState(browser.Name(), 0));
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOP_PENDING));
}

TEST_F(ServiceControl, TheStopWaitLooksWithinATenthOfTheHintAndGivesUpWithinItsBounds)
{
    const struct {
        const char* what;
        ServiceBehaviour behaviour;
        int result;
    } cases[] = {
        // Stops after 2 s while its hint says 20 s: seen within the longest
        // sleep, not a whole hint, later.
        {"slow", {2000, 0, 20000, 0}, 1},
        // Never moves past its first checkpoint: given up after one hint.
        {"stalled", {0, 1, 2000, 0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING), SERVICE_DEMAND_START, c.behaviour);
        ASSERT_TRUE(naming.Start());
        DWORD start = GetTickCount();
        EXPECT_EQ(StopService(kServiceTable[kNamingRow], false), c.result);
        DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, 2000u);
        EXPECT_LE(elapsed, 3000 + kStopWaitBounds.maxSleepMs);
    }

    // Checkpoints that advance for ever: the overall bound (cut short here)
    // ends the wait.
    ServiceBehaviour never;
    never.stopMilliseconds = kNeverStops;
    TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING), SERVICE_DEMAND_START, never);
    ASSERT_TRUE(naming.Start());
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle service(OpenServiceW(manager.get(), naming.Name().c_str(), SERVICE_ALL_ACCESS));
    SERVICE_STATUS status;
    ASSERT_TRUE(ControlService(service.get(), SERVICE_CONTROL_STOP, &status));
    StopWaitBounds bounds = kStopWaitBounds;
    bounds.totalMs = 3000;
    DWORD start = GetTickCount();
    EXPECT_EQ(WaitForServiceStop(service.get(), bounds), StopWait::GaveUp);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, bounds.totalMs);
    EXPECT_LE(elapsed, bounds.totalMs + bounds.maxSleepMs + 1000);
}

// The second configuration query fails after the first has told the size.
BOOL WINAPI ConfigQueryFailingWithBuffer(SC_HANDLE service, QUERY_SERVICE_CONFIGW* config, DWORD bytes,
                                         DWORD* needed)
{
    if (config) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return QueryServiceConfigW(service, config, bytes, needed);
}

TEST_F(ServiceControl, TheAgentBrowserCountsAsEnabledWhenItExistsAndIsNotDisabled)
{
    EXPECT_EQ(QueryAgentBrowserEnabled(), 0) << "absent";
    for (DWORD startType : {SERVICE_DISABLED, SERVICE_DEMAND_START, SERVICE_AUTO_START}) {
        TestService browser(IDS_SERVICE_BROWSER, ProgramOf(IDS_SERVICE_BROWSER), startType);
        ASSERT_TRUE(browser.Created());
        EXPECT_EQ(QueryAgentBrowserEnabled(), startType == SERVICE_DISABLED ? 0 : 1) << startType;
    }
    TestService browser(IDS_SERVICE_BROWSER, ProgramOf(IDS_SERVICE_BROWSER), SERVICE_AUTO_START);
    PlatformCalls saved = Platform();
    Platform().QueryServiceConfigW = ConfigQueryFailingWithBuffer;
    EXPECT_EQ(QueryAgentBrowserEnabled(), 0) << "the configuration could not be read";
    Platform() = saved;
}

}  // namespace
