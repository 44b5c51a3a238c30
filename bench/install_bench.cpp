// install_bench --rounds N --scratch C:\DIR\ [--load FILE]
//               --payload MB SHARE\ NSIS_INSTALLER [--payload ...]
//
// Times, on the same files and in interleaved rounds (after one warm-up
// round), for each payload:
//  - setup.exe's unattended Backup Server install from the share, watched
//    from here: launch to its window, launch to its backdrop painted over
//    most of the screen, and its window's reply to WM_NULL every 10 ms
//    while the percent panel is up (the copy);
//  - lzcopy_all.exe (beside this program): LZCopy of every file of the
//    share;
//  - the NSIS silent install of the same expanded files;
//  - reference_install.exe (beside this program): the work setup is
//    required to do, with one window open, watched like setup;
//  - LZRead and WriteFile of every file in this process, no window, no
//    drains, no program to start: the expansion alone.
// Each output is removed before its run and its bytes are checked after.
// Prints the medians, the ratios against the targets, the fixed and
// per-MB cost fitted over the payloads, the breakdown of setup's time, the
// reply latencies, the launch to the first painted frame and the load
// average, as Markdown; every run's
// time goes to standard error (round 0 is the warm-up). Exit code 0
// when every run succeeded, 1 when one failed, 2 on a bad command line.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "bench_stats.h"
#include "command_line.h"
#include "drain_cost.h"
#include "drain_rule.h"
#include "group_windows.h"
#include "initiate_watch.h"
#include "launch_watch.h"
#include "payload_io.h"
#include "phase_probes.h"
#include "product_texts.h"
#include "screen_backdrop.h"
#include "whole_install.h"

namespace {

enum Method { kInstall, kLzCopy, kNsis, kReference, kLzRead, kMethodCount };

const wchar_t* const kMethodNames[kMethodCount] = {
    L"setup.exe install", L"LZCopy", L"NSIS silent install", L"reference loop", L"LZRead alone (in process)",
};
// Output folders under the scratch folder.
const wchar_t* const kMethodFolders[kMethodCount] = {L"setup", L"lzcopy", L"nsis", L"reference", L"lzread"};

// Watched programs: setup.exe and the reference.
enum Watched { kWatchedInstall, kWatchedReference, kWatchedCount };

struct Payload {
    double nominalMb = 0;
    std::wstring share;
    std::wstring nsisInstaller;
    std::vector<std::wstring> files;
    ULONGLONG expandedBytes = 0;
    ULONGLONG blocks = 0;  // LZRead calls of kBlockBytes that expand every file
    std::vector<double> seconds[kMethodCount];
    ULONGLONG lastBytes[kMethodCount] = {};
    std::vector<LaunchResult> watched[kWatchedCount];
    double ExpandedMb() const { return static_cast<double>(expandedBytes) / 1e6; }
};

struct Settings {
    int rounds = 5;
    std::vector<double> drainMicroseconds;  // one per round
    std::wstring scratch;
    std::wstring loadFile;
    std::wstring wholeShare;  // empty: no whole install as administrator
    std::vector<Payload> payloads;
};

struct Run {
    bool ok = false;
    double seconds = 0;
    ULONGLONG bytes = 0;
    LaunchResult watched;
};

std::wstring BesideThisProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return name;
    std::wstring result(path, length);
    return result.substr(0, result.rfind(L'\\') + 1) + name;
}

bool ReadSettings(int argc, wchar_t** argv, Settings& settings)
{
    for (int i = 1; i < argc; ++i) {
        std::wstring option = argv[i];
        if (option == L"--rounds" && i + 1 < argc) {
            settings.rounds = _wtoi(argv[++i]);
        } else if (option == L"--scratch" && i + 1 < argc) {
            settings.scratch = argv[++i];
        } else if (option == L"--whole" && i + 1 < argc) {
            settings.wholeShare = argv[++i];
        } else if (option == L"--load" && i + 1 < argc) {
            settings.loadFile = argv[++i];
        } else if (option == L"--payload" && i + 3 < argc) {
            Payload payload;
            payload.nominalMb = _wtof(argv[++i]);
            payload.share = argv[++i];
            payload.nsisInstaller = argv[++i];
            if (payload.nsisInstaller == L"-")
                payload.nsisInstaller.clear();
            settings.payloads.push_back(payload);
        } else {
            return false;
        }
    }
    return settings.rounds > 0 && !settings.scratch.empty() && settings.scratch.back() == L'\\' &&
           !settings.payloads.empty();
}

// The three load averages of the machine, from a /proc/loadavg-style file.
std::wstring LoadAverage(const std::wstring& file)
{
    if (file.empty())
        return L"not measured";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return L"not readable";
    char text[128] = {};
    DWORD read = 0;
    ReadFile(handle, text, sizeof text - 1, &read, nullptr);
    CloseHandle(handle);
    std::wstring result;
    int fields = 0;
    for (DWORD i = 0; i < read && fields < 3; ++i) {
        if (text[i] == ' ') {
            ++fields;
            if (fields < 3)
                result += L' ';
        } else {
            result += static_cast<wchar_t>(text[i]);
        }
    }
    return result;
}

const wchar_t* ProgramBits(const std::wstring& program)
{
    DWORD type = 0;
    if (!GetBinaryTypeW(program.c_str(), &type))
        return L"unknown";
    return type == SCS_64BIT_BINARY ? L"64-bit" : type == SCS_32BIT_BINARY ? L"32-bit" : L"other";
}

class Bench {
public:
    Bench(Settings& settings, ScreenBackdrop& screen, InitiateWatch& initiates, const ProductTexts& texts)
        : settings_(settings), screen_(screen), initiates_(initiates), texts_(texts)
    {
    }

    // One round: every method on every payload, in orders that turn with
    // the round so that none always follows the same neighbour (a large
    // payload's writes slow whatever runs next).
    void Round(int round, bool keep)
    {
        constexpr int kDrainsTimed = 2000;
        double drain = DrainMicroseconds(kDrainsTimed);
        if (keep && drain > 0)
            settings_.drainMicroseconds.push_back(drain);
        const int payloads = static_cast<int>(settings_.payloads.size());
        for (int j = 0; j < payloads; ++j) {
            Payload& payload = settings_.payloads[static_cast<size_t>((j + round + payloads) % payloads)];
            for (int k = 0; k < kMethodCount; ++k) {
                Method method = static_cast<Method>((k + round + kMethodCount) % kMethodCount);
                if (method == kNsis && payload.nsisInstaller.empty())
                    continue;
                Run run = RunOnce(payload, method);
                payload.lastBytes[method] = run.bytes;
                fwprintf(stderr, L"round %d\t%.0f MB\t%ls\t%.3f s\n", round + 1, payload.nominalMb,
                         kMethodNames[method], run.seconds);
                if (!run.ok) {
                    ++failures_;
                    wprintf(L"FAILED: %ls, %.0f MB payload, round %d (exit code %lu, %.1f MB written)\n",
                            kMethodNames[method], payload.nominalMb, round + 1, run.watched.exitCode,
                            static_cast<double>(run.bytes) / 1e6);
                }
                if (keep && run.ok)
                    Keep(payload, method, run);
            }
        }
    }

    int failures() const { return failures_; }

private:
    std::wstring Output(Method method) const { return settings_.scratch + kMethodFolders[method] + L"\\"; }

    // setup.exe writes the product directory under its output folder.
    std::wstring SetupDestination() const { return Output(kInstall) + L"NT"; }

    // Program Manager's windows of the run's group, which would pile up.
    void CloseGroupWindowsOfRun() const
    {
        constexpr unsigned kQuietMs = 400;
        constexpr unsigned kLongestMs = 8000;
        CloseGroupWindows(texts_.GroupName(), kQuietMs, kLongestMs);
    }

    Run RunOnce(const Payload& payload, Method method)
    {
        Run run;
        const std::wstring out = Output(method);
        RemoveTree(out);
        CreateDirectoryW(out.c_str(), nullptr);
        switch (method) {
        case kInstall:
            run = RunInstall(payload);
            CloseGroupWindowsOfRun();
            break;
        case kLzCopy:
            run = RunProgram(L"lzcopy_all.exe", payload, out);
            break;
        case kNsis:
            run = RunNsis(payload, out);
            break;
        case kReference:
            run = RunReference(payload, out);
            break;
        case kLzRead:
            run = RunLzRead(payload, out);
            break;
        default:
            break;
        }
        if (method != kLzRead)
            run.bytes = TreeBytes(out);
        run.ok = run.ok && BytesAsExpected(payload, method, run.bytes);
        return run;
    }

    // setup.exe installs one file of the share outside the product
    // directory; every other method writes them all into its folder.
    static bool BytesAsExpected(const Payload& payload, Method method, ULONGLONG bytes)
    {
        if (method != kInstall)
            return bytes == payload.expandedBytes;
        return bytes <= payload.expandedBytes && bytes * 10 >= payload.expandedBytes * 9;
    }

    Run RunInstall(const Payload& payload)
    {
        WatchOptions options;
        options.frameClass = L"TWInst_Frame";
        options.screen = &screen_;
        // The copy's end is seen by the bytes an earlier run left (none yet
        // in the warm-up round); the group's end by the entry that follows it.
        options.phases = InstallProbes(SetupDestination() + L"\\", payload.lastBytes[kInstall], initiates_);
        RemoveUninstallEntry();
        // The file installation is what is compared with LZCopy and NSIS:
        // without administrator rights setup leaves out the service steps.
        options.withoutAdministrator = true;
        Run run;
        run.watched =
            RunWatched(Quoted(payload.share + L"setup.exe") + L" /SMS: /TS: /DEST:" + SetupDestination(), options);
        run.seconds = run.watched.seconds;
        run.ok = run.watched.started && run.watched.exitCode == 0;
        return run;
    }

    Run RunReference(const Payload& payload, const std::wstring& out)
    {
        WatchOptions options;
        options.frameClass = L"TWBench_Reference";
        options.phases = ReferenceProbes();
        options.screen = &screen_;
        return RunProgram(L"reference_install.exe", payload, out, options);
    }

    // A bench program beside this one, given the share and the output.
    static Run RunProgram(const wchar_t* program, const Payload& payload, const std::wstring& out,
                          const WatchOptions& options = {})
    {
        Run run;
        run.watched = RunWatched(
            Quoted(BesideThisProgram(program)) + L" " + Quoted(payload.share) + L" " + Quoted(out), options);
        run.seconds = run.watched.seconds;
        run.ok = run.watched.started && run.watched.exitCode == 0;
        return run;
    }

    Run RunNsis(const Payload& payload, const std::wstring& out)
    {
        Run run;
        // /D= must come last and unquoted.
        run.watched = RunWatched(Quoted(payload.nsisInstaller) + L" /S /D=" + WithoutTrailingSlash(out), {});
        run.seconds = run.watched.seconds;
        run.ok = run.watched.started && run.watched.exitCode == 0;
        return run;
    }

    static Run RunLzRead(const Payload& payload, const std::wstring& out)
    {
        Run run;
        run.ok = true;
        std::vector<char> buffer(kBlockBytes);
        double start = Now();
        for (const std::wstring& name : payload.files)
            run.ok = ExpandFile(payload.share + name, out + name, buffer, [](bool) {}, &run.bytes) && run.ok;
        run.seconds = Now() - start;
        return run;
    }

    static void Keep(Payload& payload, Method method, const Run& run)
    {
        payload.seconds[method].push_back(run.seconds);
        if (method == kInstall || method == kReference)
            payload.watched[method == kInstall ? kWatchedInstall : kWatchedReference].push_back(run.watched);
    }

    Settings& settings_;
    ScreenBackdrop& screen_;
    InitiateWatch& initiates_;
    const ProductTexts& texts_;
    int failures_ = 0;
};

void PrintTimes(const Settings& settings)
{
    wprintf(L"| payload | files | MB expanded |");
    for (const wchar_t* name : kMethodNames)
        wprintf(L" %ls |", name);
    wprintf(L"\n|---:|---:|---:|");
    for (int m = 0; m < kMethodCount; ++m)
        wprintf(L"---:|");
    wprintf(L"\n");
    for (const Payload& payload : settings.payloads) {
        wprintf(L"| %.0f MB | %u | %.1f |", payload.nominalMb, static_cast<unsigned>(payload.files.size()),
                payload.ExpandedMb());
        for (const std::vector<double>& seconds : payload.seconds) {
            if (seconds.empty())
                wprintf(L" not run |");
            else
                wprintf(L" %.3f s |", Median(seconds));
        }
        wprintf(L"\n");
    }
    wprintf(L"\nThe fastest and slowest round:\n\n| payload |");
    for (const wchar_t* name : kMethodNames)
        wprintf(L" %ls |", name);
    wprintf(L"\n|---:|");
    for (int m = 0; m < kMethodCount; ++m)
        wprintf(L"---:|");
    wprintf(L"\n");
    for (const Payload& payload : settings.payloads) {
        wprintf(L"| %.0f MB |", payload.nominalMb);
        for (const std::vector<double>& seconds : payload.seconds) {
            if (seconds.empty())
                wprintf(L" not run |");
            else
                wprintf(L" %.3f - %.3f s |", Percentile(seconds, 0), Percentile(seconds, 1));
        }
        wprintf(L"\n");
    }
    wprintf(L"\nsetup.exe writes %.1f MB into the product directory of the %.0f MB payload; the rest goes to "
            L"the system directory.\n\n",
            static_cast<double>(settings.payloads[0].lastBytes[kInstall]) / 1e6, settings.payloads[0].nominalMb);
}

void PrintRatios(const Settings& settings)
{
    struct RatioRow {
        const wchar_t* name;
        Method numerator;
        Method against;
        double target;  // 0: shown for the breakdown, no target
    };
    const RatioRow rows[] = {
        {L"install / LZCopy", kInstall, kLzCopy, 1.3},
        {L"install / NSIS", kInstall, kNsis, 1.5},
        {L"install / reference", kInstall, kReference, 1.05},
        {L"reference / LZCopy", kReference, kLzCopy, 0},
        {L"LZRead alone / LZCopy", kLzRead, kLzCopy, 0},
    };
    const Payload& headline = settings.payloads[0];
    wprintf(L"| ratio of medians |");
    for (const Payload& payload : settings.payloads)
        wprintf(L" %.0f MB |", payload.nominalMb);
    wprintf(L" target (%.0f MB) | |\n|---|", headline.nominalMb);
    for (size_t i = 0; i < settings.payloads.size(); ++i)
        wprintf(L"---:|");
    wprintf(L"---|---|\n");
    for (const RatioRow& row : rows) {
        Method numerator = row.numerator;
        if (headline.seconds[row.against].empty())
            continue;
        wprintf(L"| %ls |", row.name);
        for (const Payload& payload : settings.payloads)
            wprintf(L" %.2f |", Median(payload.seconds[numerator]) / Median(payload.seconds[row.against]));
        if (row.target > 0) {
            double ratio = Median(headline.seconds[numerator]) / Median(headline.seconds[row.against]);
            wprintf(L" <= %.2f | %ls |\n", row.target, Verdict(ratio <= row.target));
        } else {
            wprintf(L" | |\n");
        }
    }
    wprintf(L"\n");
}

void PrintFits(const Settings& settings)
{
    std::vector<double> megabytes;
    for (const Payload& payload : settings.payloads)
        megabytes.push_back(payload.ExpandedMb());
    wprintf(L"Cost = fixed + per MB, least squares over the payloads' medians:\n\n");
    wprintf(L"| program | fixed | per MB | largest residual |\n|---|---:|---:|---:|\n");
    for (int m = 0; m < kMethodCount; ++m) {
        if (settings.payloads[0].seconds[m].empty())
            continue;
        std::vector<double> medians;
        for (const Payload& payload : settings.payloads)
            medians.push_back(Median(payload.seconds[m]));
        LineFit fit = FitLine(megabytes, medians);
        wprintf(L"| %ls | %.3f s | %.2f ms | %.3f s |\n", kMethodNames[m], fit.fixed, fit.perUnit * 1000,
                fit.worstResidual);
    }
    wprintf(L"\n");
}

// Where setup's time over the reference goes, per block of the copy,
// against the price of one drain.
void PrintDrainBreakdown(const Settings& settings)
{
    double drain = Median(settings.drainMicroseconds);
    wprintf(L"Setup's time over the reference per 8 KB block, against one drain of an empty queue by a thread "
            L"that owns a shown window: %.1f us here (median of the rounds' means).\n\n",
            drain);
    wprintf(L"| payload | 8 KB blocks | install - reference | per block | in drains |\n"
            L"|---:|---:|---:|---:|---:|\n");
    for (const Payload& payload : settings.payloads) {
        double extra = Median(payload.seconds[kInstall]) - Median(payload.seconds[kReference]);
        double perBlock = payload.blocks ? extra * 1e6 / static_cast<double>(payload.blocks) : 0;
        wprintf(L"| %.0f MB | %llu | %.3f s | %.1f us | %.1f |\n", payload.nominalMb, payload.blocks, extra,
                perBlock, drain > 0 ? perBlock / drain : 0);
    }
    wprintf(L"\n");
}

// The watched programs' runs in their parts, medians; the probes see each
// part start to within a few milliseconds.
void PrintPhases(const Settings& settings)
{
    wprintf(L"The watched runs in parts, as the probes saw them (bench/README.md), medians. setup.exe runs "
            L"without administrator rights here: between the copy and the group it does no service work.\n\n");
    wprintf(L"| program | payload | start to copy | copy | copy to group | group | group to exit | whole run |\n"
            L"|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Payload& payload : settings.payloads) {
        const std::vector<LaunchResult>& runs = payload.watched[kWatchedInstall];
        wprintf(L"| setup.exe | %.0f MB | %.3f s | %.3f s | %.3f s | %.3f s | %.3f s | %.3f s |\n",
                payload.nominalMb, Median(PhaseSpan(runs, kStartUp, kCopy)), Median(PhaseSpan(runs, kCopy, kServices)),
                Median(PhaseSpan(runs, kServices, kGroup)), Median(PhaseSpan(runs, kGroup, kEnd)),
                Median(PhaseSpan(runs, kEnd, kInstallPhaseCount)), Median(payload.seconds[kInstall]));
    }
    for (const Payload& payload : settings.payloads) {
        const std::vector<LaunchResult>& runs = payload.watched[kWatchedReference];
        wprintf(L"| reference loop | %.0f MB | %.3f s | %.3f s | %.3f s (wind-down to exit) | | | %.3f s |\n",
                payload.nominalMb, Median(PhaseSpan(runs, kReferenceStartUp, kReferenceCopy)),
                Median(PhaseSpan(runs, kReferenceCopy, kReferenceWindDown)),
                Median(PhaseSpan(runs, kReferenceWindDown, kReferencePhaseCount)), Median(payload.seconds[kReference]));
    }
    wprintf(L"\n");
}

// The copy's cost per MB, fitted over the payloads like the whole runs',
// against LZCopy's.
void PrintCopyPerMb(const Settings& settings)
{
    std::vector<double> megabytes, copy, lzcopy;
    for (const Payload& payload : settings.payloads) {
        megabytes.push_back(payload.ExpandedMb());
        copy.push_back(Median(PhaseSpan(payload.watched[kWatchedInstall], kCopy, kServices)));
        lzcopy.push_back(Median(payload.seconds[kLzCopy]));
    }
    LineFit copyFit = FitLine(megabytes, copy);
    LineFit lzcopyFit = FitLine(megabytes, lzcopy);
    wprintf(L"setup.exe's copy phase: %.3f s + %.2f ms per MB (largest residual %.3f s); LZCopy %.2f ms per MB "
            L"(target: copy per MB <= LZCopy's: %ls)\n\n",
            copyFit.fixed, copyFit.perUnit * 1000, copyFit.worstResidual, lzcopyFit.perUnit * 1000,
            Verdict(settings.payloads.size() > 1 && copyFit.perUnit <= lzcopyFit.perUnit));
}

void PrintReplies(const Settings& settings)
{
    const wchar_t* const names[kWatchedCount] = {L"setup.exe (copying)", L"reference loop (copying)"};
    const size_t copyPhase[kWatchedCount] = {kCopy, kReferenceCopy};
    wprintf(L"Window replies to WM_NULL sent every 10 ms from the bench, while the copy runs:\n\n");
    wprintf(L"| program | payload | replies | p50 | p99 | max |\n|---|---:|---:|---:|---:|---:|\n");
    std::vector<double> all[kWatchedCount];
    for (int w = 0; w < kWatchedCount; ++w) {
        for (const Payload& payload : settings.payloads) {
            const std::vector<double> replies = PhaseReplies(payload.watched[w], copyPhase[w]);
            all[w].insert(all[w].end(), replies.begin(), replies.end());
            wprintf(L"| %ls | %.0f MB | %u | %.1f ms | %.1f ms | %.1f ms |\n", names[w], payload.nominalMb,
                    static_cast<unsigned>(replies.size()), Percentile(replies, 0.5), Percentile(replies, 0.99),
                    Percentile(replies, 1));
        }
    }
    const std::vector<double>& install = all[kWatchedInstall];
    wprintf(L"\nsetup.exe's copy over all payloads: %u replies, p99 %.1f ms (target <= 20: %ls), max %.1f ms "
            L"(target <= 50: %ls)\n\n",
            static_cast<unsigned>(install.size()), Percentile(install, 0.99),
            Verdict(!install.empty() && Percentile(install, 0.99) <= 20), Percentile(install, 1),
            Verdict(!install.empty() && Percentile(install, 1) <= 50));
}

void PrintLaunch(const Settings& settings, int rounds)
{
    const wchar_t* const names[kWatchedCount] = {L"setup.exe", L"reference loop"};
    constexpr double kLongestFirstFrame = 0.15;
    wprintf(L"Launch to the window and to the first painted frame (its backdrop over at least %.0f%% of the "
            L"sampled screen), all payloads:\n\n",
            ScreenBackdrop::kPaintedShare * 100);
    wprintf(L"| program | window exists (median) | first painted frame (median) | max | frames seen | "
            L"not watched: backdrop already on screen |\n|---|---:|---:|---:|---:|---:|\n");
    double setupPainted = 0;
    size_t setupSeen = 0;
    for (int w = 0; w < kWatchedCount; ++w) {
        std::vector<double> window, painted;
        int stale = 0;
        for (const Payload& payload : settings.payloads) {
            for (const LaunchResult& run : payload.watched[w]) {
                if (run.screenWasCovered)
                    ++stale;
                if (run.windowAfter >= 0)
                    window.push_back(run.windowAfter);
                if (run.paintedAfter >= 0)
                    painted.push_back(run.paintedAfter);
            }
        }
        wprintf(L"| %ls | %.3f s | %.3f s | %.3f s | %u of %u | %d |\n", names[w], Median(window),
                Median(painted), Percentile(painted, 1), static_cast<unsigned>(painted.size()),
                static_cast<unsigned>(rounds * settings.payloads.size()), stale);
        if (w == kWatchedInstall) {
            setupPainted = Median(painted);
            setupSeen = painted.size();
        }
    }
    wprintf(L"\nsetup.exe launch to first painted frame: %.3f s (target <= %.2f s: %ls)\n\n", setupPainted,
            kLongestFirstFrame, Verdict(setupSeen > 0 && setupPainted <= kLongestFirstFrame));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Settings settings;
    if (!ReadSettings(argc, argv, settings)) {
        fwprintf(stderr, L"usage: install_bench --rounds N --scratch C:\\DIR\\ [--load FILE] [--whole SHARE\\] "
                         L"--payload MB SHARE\\ NSIS_INSTALLER [--payload ...]\n");
        return 2;
    }
    CreateDirectoryW(settings.scratch.c_str(), nullptr);
    for (Payload& payload : settings.payloads) {
        payload.files = ShareFiles(payload.share);
        std::vector<char> buffer(kBlockBytes);
        std::wstring out = settings.scratch + L"size\\";
        RemoveTree(out);
        CreateDirectoryW(out.c_str(), nullptr);
        ULONGLONG& blocks = payload.blocks;
        for (const std::wstring& name : payload.files)
            ExpandFile(payload.share + name, out + name, buffer, [&blocks](bool) { ++blocks; },
                       &payload.expandedBytes);
        RemoveTree(out);
    }
    const std::wstring setupProgram = settings.payloads[0].share + L"setup.exe";
    ScreenBackdrop screen;
    std::wstring error;
    ProductTexts texts;
    InitiateWatch initiates;
    if (!screen.Open(setupProgram, &error) || !texts.Open(setupProgram, &error)) {
        fwprintf(stderr, L"install_bench: %ls\n", error.c_str());
        return 1;
    }
    if (!initiates.Open()) {
        fwprintf(stderr, L"install_bench: cannot open the window that sees DDE initiates\n");
        return 1;
    }

    std::wstring loadAtStart = LoadAverage(settings.loadFile);
    double start = Now();
    // The whole install first: the copy's runs, without administrator
    // rights, leave their group and entry behind.
    std::unique_ptr<WholeInstallBench> whole;
    if (!settings.wholeShare.empty()) {
        whole = std::make_unique<WholeInstallBench>(settings.wholeShare, settings.scratch + L"setup\\NT\\", texts,
                                                    screen, initiates);
        whole->Round(-1, false);
        for (int round = 0; round < settings.rounds; ++round)
            whole->Round(round, true);
    }
    Bench bench(settings, screen, initiates, texts);
    bench.Round(-1, false);
    for (int round = 0; round < settings.rounds; ++round)
        bench.Round(round, true);
    double elapsed = Now() - start;
    std::wstring loadAtEnd = LoadAverage(settings.loadFile);

    wprintf(L"\nsetup.exe %ls; drain interval %.0f ms; %d interleaved rounds after one warm-up round, "
            L"medians; %.0f s of measuring.\n",
            ProgramBits(setupProgram), kDrainIntervalSeconds * 1000, settings.rounds, elapsed);
    wprintf(L"Load average (1, 5, 15 min): %ls at the start, %ls at the end (2 cores).\n\n", loadAtStart.c_str(),
            loadAtEnd.c_str());
    if (whole) {
        whole->Print();
        wprintf(L"## The copy at three payload sizes, without administrator rights\n\n");
    }
    PrintTimes(settings);
    PrintRatios(settings);
    PrintFits(settings);
    PrintDrainBreakdown(settings);
    PrintPhases(settings);
    PrintCopyPerMb(settings);
    PrintReplies(settings);
    PrintLaunch(settings, settings.rounds);
    const int failures = bench.failures() + (whole ? whole->failures() : 0);
    if (failures)
        wprintf(L"%d runs FAILED; their times are left out.\n", failures);
    return failures ? 1 : 0;
}
