// Stopping, removing and restarting the product's services in the test
// prefix's real Service Control Manager, with the project's service program
// behaving as each case needs: the bounds of the stop wait, absent services,
// the restart of exactly what this run stopped, the agent browser's start
// type.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "services/platform_calls.h"
#include "services/service_control.h"
#include "services/stop_wait.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/test_services.h"

namespace {

constexpr int kNamingRow = 0;
constexpr int kBrowserRow = 2;

// The product's services, each running its own copy of the service program.
std::wstring ProgramOf(UINT nameId)
{
    return ProductFile(nameId == IDS_SERVICE_NAMING ? L"twnser.exe"
                       : nameId == IDS_SERVICE_SERVER ? L"twserver.exe"
                                                      : L"twnetns.exe");
}

DWORD ElapsedSince(DWORD start)
{
    return GetTickCount() - start;
}

class ServiceControl : public ::testing::Test {
protected:
    void SetUp() override { ResetSetupState(); }
};

TEST_F(ServiceControl, StopServicesStopsRunningOnesCountsAbsentOnesAsDoneAndRecordsWhatItStopped)
{
    TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING));
    TestService server(IDS_SERVICE_SERVER, ProgramOf(IDS_SERVICE_SERVER));
    ASSERT_TRUE(naming.Created() && server.Created());
    ASSERT_TRUE(naming.Start());

    EXPECT_EQ(StopServices(L"C:\\TAPWRITE\\NT\\"), 1);
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(ServicesStoppedByRun, 1u << kNamingRow) << "only the one that was running";
}

TEST_F(ServiceControl, TheStopWaitLooksAgainWithinATenthOfTheHintAndGivesUpWithinItsBounds)
{
    struct Case {
        const char* what;
        ServiceBehaviour behaviour;
        int result;
        DWORD atLeastMs;
        DWORD atMostMs;
    } cases[] = {
        // Stopped after 2 s while claiming it may need 20 s for each step:
        // seen within the longest sleep, not a whole hint, later.
        {"slow", {2000, 0, 20000, 0}, 1, 2000, 2000 + kStopWaitBounds.maxSleepMs + 1000},
        // Never moves past its first checkpoint: given up after one hint.
        {"stalled", {0, 1, 2000, 0}, 0, 2000, 2000 + kStopWaitBounds.maxSleepMs + 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING), SERVICE_DEMAND_START, c.behaviour);
        ASSERT_TRUE(naming.Start());
        DWORD start = GetTickCount();
        EXPECT_EQ(StopService(kServiceTable[kNamingRow], false), c.result);
        DWORD elapsed = ElapsedSince(start);
        EXPECT_GE(elapsed, c.atLeastMs);
        EXPECT_LE(elapsed, c.atMostMs);
    }
}

TEST_F(ServiceControl, TheStopWaitEndsAtItsOverallBoundWhileTheCheckpointsStillAdvance)
{
    ServiceBehaviour never;
    never.stopMilliseconds = kNeverStops;
    TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING), SERVICE_DEMAND_START, never);
    ASSERT_TRUE(naming.Start());
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceW(manager, naming.Name().c_str(), SERVICE_ALL_ACCESS);
    SERVICE_STATUS status;
    ASSERT_TRUE(ControlService(service, SERVICE_CONTROL_STOP, &status));

    // The same bounds as setup's but for the overall one, which is cut short.
    StopWaitBounds bounds = kStopWaitBounds;
    bounds.totalMs = 3000;
    DWORD start = GetTickCount();
    EXPECT_EQ(WaitForServiceStop(service, bounds), StopWait::GaveUp);
    DWORD elapsed = ElapsedSince(start);
    EXPECT_GE(elapsed, bounds.totalMs);
    EXPECT_LE(elapsed, bounds.totalMs + bounds.maxSleepMs + 1000);
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOP_PENDING));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

TEST_F(ServiceControl, RemoveServicesDeletesRunningStoppedAndStuckServices)
{
    ServiceBehaviour stalls;
    stalls.stopStalls = 1;
    TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING));
    TestService server(IDS_SERVICE_SERVER, ProgramOf(IDS_SERVICE_SERVER), SERVICE_DEMAND_START, stalls);
    ASSERT_TRUE(naming.Start() && server.Start());

    EXPECT_EQ(RemoveServices(L"C:\\TAPWRITE\\NT\\"), 1);
    EXPECT_TRUE(WaitForServiceState(naming.Name(), 0));
    EXPECT_EQ(ServiceState(ServiceName(IDS_SERVICE_BROWSER)), 0u);
    // The stuck one is marked for deletion: it goes when its program ends.
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOP_PENDING));
}

TEST_F(ServiceControl, StartServicesRestartsExactlyWhatThisRunStoppedAndGoesOnPastAFailure)
{
    TestService naming(IDS_SERVICE_NAMING, ProgramOf(IDS_SERVICE_NAMING));
    TestService server(IDS_SERVICE_SERVER, ProgramOf(IDS_SERVICE_SERVER));
    TestService browser(IDS_SERVICE_BROWSER, ProgramOf(IDS_SERVICE_BROWSER));
    ASSERT_TRUE(naming.Start() && browser.Start());

    ASSERT_EQ(StopServices(L"C:\\TAPWRITE\\NT\\"), 1);
    ASSERT_EQ(ServicesStoppedByRun, (1u << kNamingRow) | (1u << kBrowserRow));
    ServiceBehaviour fails;
    fails.neverStart = 1;
    naming.SetBehaviour(fails);

    EXPECT_EQ(StartServices(L"C:\\TAPWRITE\\NT\\"), 0) << "the first one failed to start";
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOPPED)) << "it was stopped before setup ran";
    EXPECT_TRUE(WaitForServiceState(browser.Name(), SERVICE_RUNNING));

    // Asked again, the running one is left alone.
    DWORD process = ServiceProcess(browser.Name());
    EXPECT_EQ(StartServices(L"C:\\TAPWRITE\\NT\\"), 0);
    EXPECT_EQ(ServiceProcess(browser.Name()), process);
}

// The second configuration query fails after the first has told the size.
BOOL WINAPI ConfigQueryFailingWithBuffer(SC_HANDLE service, LPQUERY_SERVICE_CONFIGW config, DWORD bytes,
                                         LPDWORD needed)
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
    struct Case {
        DWORD startType;
        int enabled;
    } cases[] = {{SERVICE_DISABLED, 0}, {SERVICE_AUTO_START, 1}, {SERVICE_DEMAND_START, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.startType);
        TestService browser(IDS_SERVICE_BROWSER, ProgramOf(IDS_SERVICE_BROWSER), c.startType);
        ASSERT_TRUE(browser.Created());
        EXPECT_EQ(QueryAgentBrowserEnabled(), c.enabled);
        if (c.startType == SERVICE_AUTO_START) {
            PlatformCalls saved = Platform();
            Platform().QueryServiceConfigW = ConfigQueryFailingWithBuffer;
            EXPECT_EQ(QueryAgentBrowserEnabled(), 0) << "the configuration could not be read";
            Platform() = saved;
        }
    }
}

}  // namespace
