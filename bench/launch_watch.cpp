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

// Phases are looked for this often: a phase start is seen to within it,
// on top of what the probe itself takes.
constexpr DWORD kPhaseLookMs = 2;

HWND WaitForFrame(HANDLE process, const WatchOptions& options)
{
    HWND frame = nullptr;
    while (!frame && Running(process)) {
        frame = FindWindowW(options.frameClass, nullptr);
        if (!frame)
            Sleep(1);
    }
    return frame;
}

// Runs on its own thread, so that a slow reply never delays the screen
// reads or the phase probes, nor the reverse.
void ProbeReplies(HANDLE process, double start, const WatchOptions& options, LaunchResult& result)
{
    HWND frame = WaitForFrame(process, options);
    if (!frame)
        return;
    result.windowAfter = Now() - start;
    double next = Now();
    while (Running(process)) {
        double sent = Now();
        DWORD_PTR answer;
        BOOL replied = SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &answer);
        double elapsed = Now() - sent;
        if (!replied && !IsWindow(frame))
            break;
        result.replies.push_back({sent - start, elapsed * 1000});
        next += kProbeInterval;
        double now = Now();
        if (next < now)
            next = now;
        while (Now() < next)
            Sleep(1);
    }
}

// Asks the probes of the phases not yet seen, the last first, so that a
// phase whose probe never answers leaves the later ones seen.
void ProbePhases(HANDLE process, double start, DWORD processId, const WatchOptions& options,
                 LaunchResult& result)
{
    ProbeTarget target;
    target.processId = processId;
    size_t seen = 0;
    const size_t last = options.phases.size();
    while (seen < last && Running(process)) {
        if (!target.frame && options.frameClass)
            target.frame = FindWindowW(options.frameClass, nullptr);
        for (size_t phase = last; phase > seen; --phase) {
            if (options.phases[phase - 1](target)) {
                result.phaseFrom[phase] = Now() - start;
                seen = phase;
                break;
            }
        }
        Sleep(kPhaseLookMs);
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
    result.phaseFrom.assign(options.phases.size() + 1, -1);
    result.phaseFrom[0] = 0;
    std::thread prober;
    if (options.frameClass)
        prober = std::thread(ProbeReplies, process.hProcess, start, std::cref(options), std::ref(result));
    std::thread phases(ProbePhases, process.hProcess, start, process.dwProcessId, std::cref(options),
                       std::ref(result));
    if (options.screen && !result.screenWasCovered)
        WatchScreen(process.hProcess, start, *options.screen, result);
    WaitForSingleObject(process.hProcess, INFINITE);
    result.seconds = Now() - start;
    if (prober.joinable())
        prober.join();
    phases.join();
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    return result;
}

double LaunchResult::PhaseSeconds(size_t phase) const
{
    if (phase >= phaseFrom.size() || phaseFrom[phase] < 0)
        return -1;
    for (size_t next = phase + 1; next < phaseFrom.size(); ++next)
        if (phaseFrom[next] >= 0)
            return phaseFrom[next] - phaseFrom[phase];
    return seconds - phaseFrom[phase];
}

std::vector<Reply> LaunchResult::RepliesIn(size_t phase) const
{
    std::vector<Reply> sent;
    const double length = PhaseSeconds(phase);
    if (length < 0)
        return sent;
    const double from = phaseFrom[phase];
    for (const Reply& reply : replies)
        if (reply.sentAfter >= from && reply.sentAfter < from + length)
            sent.push_back(reply);
    return sent;
}

std::vector<double> LaunchResult::PhaseRepliesMs(size_t phase) const
{
    std::vector<double> ms;
    for (const Reply& reply : RepliesIn(phase))
        ms.push_back(reply.ms);
    return ms;
}

std::vector<double> PhaseReplies(const std::vector<LaunchResult>& runs, size_t phase)
{
    std::vector<double> ms;
    for (const LaunchResult& run : runs) {
        std::vector<double> some = run.PhaseRepliesMs(phase);
        ms.insert(ms.end(), some.begin(), some.end());
    }
    return ms;
}

std::vector<double> PhaseSpan(const std::vector<LaunchResult>& runs, size_t from, size_t to)
{
    std::vector<double> seconds;
    for (const LaunchResult& run : runs) {
        double sum = 0;
        bool seen = true;
        for (size_t phase = from; phase < to && seen; ++phase) {
            const double length = run.PhaseSeconds(phase);
            seen = length >= 0;
            sum += length;
        }
        if (seen)
            seconds.push_back(sum);
    }
    return seconds;
}
