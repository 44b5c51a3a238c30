#include "launch_watch.h"

#include <thread>

#include "bench_clock.h"
#include "common/standard_user_token.h"

#include "screen_backdrop.h"

namespace {

constexpr double kProbeInterval = 0.010;
constexpr UINT kReplyTimeoutMs = 5000;
// Setup paints well within this; a look at the screen costs CPU that the
// program being timed would otherwise have, so the looks stop here.
constexpr double kLongestPaintWait = 10.0;
// A frame left on the screen by an earlier run must be gone before a start.
constexpr double kLongestStaleWait = 3.0;

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool Running(HANDLE process)
{
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool Copying(HWND frame, const WatchOptions& options)
{
    if (!options.copyingClass)
        return true;
    HWND parent = options.clientClass ? FindWindowExW(frame, nullptr, options.clientClass, nullptr) : frame;
    HWND panel = parent ? FindWindowExW(parent, nullptr, options.copyingClass, nullptr) : nullptr;
    return panel && IsWindowVisible(panel);
}

// Runs on its own thread, so that a slow reply never delays the screen
// reads and the reverse.
void ProbeReplies(HANDLE process, double start, const WatchOptions& options, LaunchResult& result)
{
    HWND frame = nullptr;
    while (!frame && Running(process)) {
        frame = FindWindowW(options.frameClass, nullptr);
        if (!frame)
            Sleep(1);
    }
    if (!frame)
        return;
    result.windowAfter = Now() - start;
    double next = Now();
    while (Running(process)) {
        bool copying = Copying(frame, options);
        double sent = Now();
        DWORD_PTR answer;
        BOOL replied = SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &answer);
        double elapsed = Now() - sent;
        if (!replied && !IsWindow(frame))
            break;
        if (copying) {
            result.repliesMs.push_back(elapsed * 1000);
            if (result.copyFrom < 0)
                result.copyFrom = sent - start;
            result.copyTo = sent - start;
        }
        next += kProbeInterval;
        double now = Now();
        if (next < now)
            next = now;
        while (Now() < next)
            Sleep(1);
    }
}

bool WaitForClearScreen(ScreenBackdrop& screen)
{
    double start = Now();
    while (screen.CoveredShare() >= ScreenBackdrop::kPaintedShare) {
        if (Now() - start > kLongestStaleWait)
            return false;
        Sleep(20);
    }
    return true;
}

void WatchScreen(HANDLE process, double start, ScreenBackdrop& screen, LaunchResult& result)
{
    while (Running(process) && Now() - start < kLongestPaintWait) {
        if (screen.CoveredShare() >= ScreenBackdrop::kPaintedShare) {
            result.paintedAfter = Now() - start;
            return;
        }
        Sleep(1);
    }
}

}  // namespace

LaunchResult RunWatched(std::wstring commandLine, const WatchOptions& options)
{
    LaunchResult result;
    if (options.screen && !WaitForClearScreen(*options.screen))
        result.screenWasCovered = true;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = Now();
    OwnedHandle token(options.withoutAdministrator ? TokenWithoutAdministrators() : nullptr);
    BOOL created = options.withoutAdministrator
                       ? token.get() && CreateProcessAsUserW(token.get(), nullptr, &commandLine[0], nullptr, nullptr,
                                                             FALSE, 0, nullptr, nullptr, &startup, &process)
                       : CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process);
    if (!created)
        return result;
    result.started = true;
    OwnedHandle processHandle(process.hProcess);
    OwnedHandle threadHandle(process.hThread);
    std::thread prober;
    if (options.frameClass)
        prober = std::thread(ProbeReplies, process.hProcess, start, std::cref(options), std::ref(result));
    if (options.screen && !result.screenWasCovered)
        WatchScreen(process.hProcess, start, *options.screen, result);
    WaitForSingleObject(process.hProcess, INFINITE);
    result.seconds = Now() - start;
    if (prober.joinable())
        prober.join();
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    return result;
}
