// Stopping, restarting and removing the product's services in the test
// prefix's real Service Control Manager, and the bounded wait for a stop.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "services/stop_wait.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"
#include "support/test_services.h"

using namespace support;

namespace {

TEST(ServiceControl, ExactlyTheServicesThisRunStoppedAreStartedAgain)
{
    ResetSetupState();
    {
        ServiceWalk walk(SC_MANAGER_ALL_ACCESS);
        EXPECT_FALSE(QueryAgentBrowserEnabled(walk)) << "an absent browser is not enabled";
        EXPECT_TRUE(StopServices(walk)) << "absent ones are stopped";
    }
    EXPECT_TRUE(RemoveServices()) << "absent ones are removed";
    EXPECT_EQ(ServicesStoppedByRun, 0u);
    TestService naming(IDS_SERVICE_NAMING, ProductFile(L"twnser.exe"));
    TestService server(IDS_SERVICE_SERVER, ProductFile(L"twserver.exe"));
    TestService browser(IDS_SERVICE_BROWSER, ProductFile(L"twnetns.exe"));
    ASSERT_TRUE(naming.Start() && browser.Start() && server.Created());
    // Each walk opens the manager once, for all its services; the check
    // before an install reads the browser's start type in the stops' walk.
    ManagerOpens opens;
    EXPECT_TRUE(CheckServiceOwners());
    EXPECT_EQ(opens.Take(), 1);
    {
        ServiceWalk walk(SC_MANAGER_ALL_ACCESS);
        EXPECT_TRUE(QueryAgentBrowserEnabled(walk));
        EXPECT_TRUE(StopServices(walk));
    }
    EXPECT_EQ(opens.Take(), 1);
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(ServiceState(browser.Name()), static_cast<DWORD>(SERVICE_STOPPED));

    EXPECT_TRUE(StartServices());
    EXPECT_EQ(opens.Take(), 1);
    EXPECT_TRUE(WaitForServiceState(naming.Name(), SERVICE_RUNNING));
    EXPECT_TRUE(WaitForServiceState(browser.Name(), SERVICE_RUNNING));
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOPPED)) << "stopped before setup ran";

    EXPECT_TRUE(RemoveServices());
    EXPECT_EQ(opens.Take(), 1);
    for (const TestService* service : {&naming, &server, &browser})
        EXPECT_TRUE(WaitForServiceState(service->Name(), 0)) << service->Name().c_str();
}

// A service that reports "stop pending" with `hint`, its checkpoint moving
// at each look when `moving`, until `stopsAfterMs` have passed (0: never).
struct Pending {
    DWORD hint;
    bool moving;
    DWORD stopsAfterMs;
} pending;
DWORD pendingSince;
// A look this late fails, so that a wait past every bound still ends.
constexpr DWORD kLastLookMs = 15000;

BOOL WINAPI QueryPending(SC_HANDLE, LPSERVICE_STATUS status)
{
    static DWORD checkpoint;
    const DWORD since = GetTickCount() - pendingSince;
    *status = {};
    status->dwCurrentState = pending.stopsAfterMs && since >= pending.stopsAfterMs ? SERVICE_STOPPED
                                                                                   : SERVICE_STOP_PENDING;
    status->dwWaitHint = pending.hint;
    status->dwCheckPoint = pending.moving ? ++checkpoint : 1;
    return since < kLastLookMs;
}

// A window of this thread that notes when it has handled the message posted
// to it; other threads may wait for that.
class ProbeWindow {
public:
    ProbeWindow()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ServiceControlProbe";
        RegisterClassW(&windowClass);
        window_ = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr);
    }
    ~ProbeWindow() { DestroyWindow(window_); }

    explicit operator bool() const { return window_ && answered; }
    void Post()
    {
        ResetEvent(answered);
        PostMessageW(window_, WM_APP, 0, 0);
    }
    bool Answered(DWORD timeoutMs = 0) const { return WaitForSingleObject(answered, timeoutMs) == WAIT_OBJECT_0; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP)
            SetEvent(answered);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static inline HANDLE answered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window_;
};

TEST(ServiceControl, TheStopWaitEndsWithinItsBoundsKeepingTheWindowsAlive)
{
    ProbeWindow probe;
    ASSERT_TRUE(probe);
    const PlatformCalls saved = Platform();
    Platform().QueryServiceStatus = QueryPending;
    // Shorter than setup's, so that a stall ends within seconds; a stop that
    // takes longer than the longest sleep and reports neither hint nor
    // progress is still waited for.
    const StopWaitBounds bounds = {100, 1000, 2000, 3500, 0};
    const struct {
        const char* what;
        Pending service;
        StopWait result;
        DWORD atLeastMs, atMostMs;
    } cases[] = {
        // Seen within two of the longest sleeps, not a whole hint, later.
        {"stops after 1.4 s with a 20 s hint", {20000, true, 1400}, StopWait::Stopped, 1400, 1400 + 2000},
        {"stops after 1.4 s, still and without a hint", {0, false, 1400}, StopWait::Stopped, 1400, 1400 + 2000},
        {"still, without a hint", {0, false, 0}, StopWait::GaveUp, 2000, 2000 + 1000},
        {"still for one hint", {2500, false, 0}, StopWait::GaveUp, 2500, 2500 + 1000},
        {"moving for ever", {2000, true, 0}, StopWait::GaveUp, 3500, 3500 + 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pending = c.service;
        probe.Post();
        pendingSince = GetTickCount();
        EXPECT_EQ(WaitForServiceStop(nullptr, bounds), c.result);
        const DWORD elapsed = GetTickCount() - pendingSince;
        EXPECT_GE(elapsed, c.atLeastMs);
        EXPECT_LE(elapsed, c.atMostMs);
        EXPECT_TRUE(probe.Answered());
    }
    Platform() = saved;
}

PlatformCalls real;
const ProbeWindow* startProbe;

// A start that goes on only once the window has handled its message: the
// window must be answering while the start is under way.
BOOL WINAPI StartOnceTheWindowAnswers(SC_HANDLE service, DWORD count, LPCWSTR* arguments)
{
    if (!startProbe->Answered(3000)) {
        SetLastError(ERROR_SERVICE_REQUEST_TIMEOUT);
        return FALSE;
    }
    return real.StartServiceW(service, count, arguments);
}

TEST(ServiceControl, TheWindowsAnswerWhileAServiceStarts)
{
    ResetSetupState();
    TestService naming(IDS_SERVICE_NAMING, ProductFile(L"twnser.exe"));
    ASSERT_TRUE(naming.Created());
    ProbeWindow probe;
    ASSERT_TRUE(probe);
    real = Platform();
    startProbe = &probe;
    Platform().StartServiceW = StartOnceTheWindowAnswers;
    ServicesStoppedByRun = 1;
    probe.Post();
    EXPECT_TRUE(StartServices());
    Platform() = real;
    EXPECT_TRUE(WaitForServiceState(naming.Name(), SERVICE_RUNNING));
}

DWORD lingeringProcess;

// The service's status, naming the lingering process as its program.
BOOL WINAPI StatusWithLingeringProgram(SC_HANDLE service, SC_STATUS_TYPE level, BYTE* buffer, DWORD size,
                                       DWORD* needed)
{
    if (!real.QueryServiceStatusEx(service, level, buffer, size, needed))
        return FALSE;
    reinterpret_cast<SERVICE_STATUS_PROCESS*>(buffer)->dwProcessId = lingeringProcess;
    return TRUE;
}

DWORD WINAPI EndLingeringProcessSoon(void* process)
{
    Sleep(800);
    TerminateProcess(process, 1);
    return 0;
}

TEST(ServiceControl, AServiceStoppedHereHasItsProgramWaitedForWithinTheBound)
{
    ResetSetupState();
    TestService naming(IDS_SERVICE_NAMING, ProductFile(L"twnser.exe"));
    // Another service's program plays the naming service's, lingering
    // after the naming service reported stopped.
    TestService server(IDS_SERVICE_SERVER, ProductFile(L"twserver.exe"));
    ASSERT_TRUE(naming.Created() && server.Start());
    lingeringProcess = ServiceProcess(server.Name());
    HANDLE lingering = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, lingeringProcess);
    ASSERT_NE(lingering, nullptr);
    real = Platform();
    Platform().QueryServiceStatusEx = StatusWithLingeringProgram;
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    const struct {
        const char* what;
        bool running;
        DWORD exitMs;
        bool endsSoon;
        DWORD atLeastMs, atMostMs;
    } cases[] = {
        {"nothing was running", false, 5000, false, 0, 1000},
        {"the program outlasts the bound", true, 600, false, 600, 600 + 2000},
        {"the program ends after 0.8 s", true, 10000, true, 800, 800 + 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.running) {
            EXPECT_TRUE(naming.Start());
        }
        StopWaitBounds bounds = kStopWaitBounds;
        bounds.exitMs = c.exitMs;
        HANDLE ender = c.endsSoon ? CreateThread(nullptr, 0, EndLingeringProcessSoon, lingering, 0, nullptr) : nullptr;
        const DWORD start = GetTickCount();
        bool stopSent = false;
        EXPECT_TRUE(StopService(manager.get(), kServiceTable[0], false, &stopSent, bounds));
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_EQ(stopSent, c.running);
        EXPECT_GE(elapsed, c.atLeastMs);
        EXPECT_LE(elapsed, c.atMostMs);
        EXPECT_EQ(WaitForSingleObject(lingering, 0) == WAIT_OBJECT_0, c.endsSoon);
        if (ender) {
            WaitForSingleObject(ender, INFINITE);
            CloseHandle(ender);
        }
    }
    Platform() = real;
    CloseHandle(lingering);
}

// The service `name` spends `ms` stop-pending after the stop request, with
// checkpoint 1 and no wait hint (read by tools/service when it starts).
void SetStopMilliseconds(const std::wstring& name, DWORD ms)
{
    const std::wstring key = L"System\\CurrentControlSet\\Services\\" + name + L"\\Parameters";
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"StopMilliseconds", REG_DWORD, &ms, sizeof ms),
              ERROR_SUCCESS);
}

TEST(ServiceControl, ASlowStopIsWaitedForHoldsUpNoOtherServiceAndDelaysTheRestart)
{
    ResetSetupState();
    TestService naming(IDS_SERVICE_NAMING, ProductFile(L"twnser.exe"));
    TestService server(IDS_SERVICE_SERVER, ProductFile(L"twserver.exe"));
    ASSERT_NO_FATAL_FAILURE(SetStopMilliseconds(naming.Name(), 3000));
    ASSERT_TRUE(naming.Start() && server.Start());
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    EXPECT_TRUE(StopService(manager.get(), kServiceTable[0], false)) << "the naming service's row";
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOPPED));

    // Given up on sooner, it leaves the others to be stopped all the same;
    // the restart waits until it has stopped, then starts it again.
    ASSERT_TRUE(naming.Start());
    StopWaitBounds impatient = kStopWaitBounds;
    impatient.minStallMs = 500;
    ServiceWalk walk(SC_MANAGER_ALL_ACCESS);
    EXPECT_FALSE(StopServices(walk, impatient));
    EXPECT_EQ(ServiceState(naming.Name()), static_cast<DWORD>(SERVICE_STOP_PENDING));
    EXPECT_EQ(ServiceState(server.Name()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_TRUE(StartServices());
    EXPECT_TRUE(WaitForServiceState(naming.Name(), SERVICE_RUNNING));
    EXPECT_TRUE(WaitForServiceState(server.Name(), SERVICE_RUNNING));
}

TEST(ServiceControl, OnlyTheProductsProgramsMakeTheProductsServices)
{
    ResetSetupState();
    const struct {
        const wchar_t* binaryPath;
        bool product;
    } programs[] = {
        {L"C:\\TAPWRITE\\NT\\twnser.exe", true}, {L"d:\\tw\\TWServer.EXE -debug", true},
        {L" \"C:\\Program Files\\TW\\twnetns.exe\" /service", true}, {L"C:\\Other\\foreign.exe", false},
        {L"C:\\Other\\foreign.exe C:\\TW\\twnser.exe", false}, {L"\"C:\\Other\\foreign.exe\" twnser.exe", false},
        {L"C:\\Other\\xtwnser.exe", false}, {L"\"C:\\TW\\twnser.exe", false},
        {L"C:\\Program Files\\TW\\twnser.exe", false},  // the system would run C:\Program
    };
    for (const auto& program : programs)
        EXPECT_EQ(IsProductServiceProgram(program.binaryPath), program.product) << program.binaryPath;

    // Registered for another program, the agent browser is reported by its
    // name and program, and neither stopped nor deleted.
    const std::wstring foreign = L"C:\\Other\\foreign.exe";
    TestService browser(IDS_SERVICE_BROWSER, foreign);
    ASSERT_TRUE(browser.Created());
    MessageBoxAnswerer answerer({IDOK});
    EXPECT_FALSE(CheckServiceOwners());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    const std::wstring& text = answerer.Boxes()[0].text;
    EXPECT_EQ(answerer.Boxes()[0].caption, BankString(1000 + IDS_FOREIGN_SERVICE_TITLE));
    EXPECT_NE(text.find(L"\"" + browser.Name() + L"\" is registered for the program\n\n" + foreign + L"\n"),
              std::wstring::npos);
    EXPECT_TRUE(RemoveServices());
    EXPECT_EQ(ServiceState(browser.Name()), static_cast<DWORD>(SERVICE_STOPPED));
}

}  // namespace
