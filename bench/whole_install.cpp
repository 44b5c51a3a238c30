#include "whole_install.h"

#include <windows.h>
#include <shlobj.h>

#include <stdio.h>

#include <iterator>
#include <utility>

#include "bench_clock.h"
#include "bench_stats.h"
#include "command_line.h"
#include "group_floor.h"
#include "group_windows.h"
#include "idle_wait.h"
#include "initiate_watch.h"
#include "payload_io.h"
#include "phase_probes.h"

namespace {

// Program Manager's windows come up a while after their command; the runs
// wait this long without a new one before closing them.
constexpr unsigned kGroupWindowsQuietMs = 400;
constexpr unsigned kGroupWindowsLongestMs = 8000;
// Each run, install or uninstall, setup's or a floor's, starts on a quiet
// machine: the processors idle for 90% of a quarter second, waited for at
// most 5 s.
constexpr double kQuietIdleShare = 0.9;
constexpr unsigned kQuietWindowMs = 250;
constexpr unsigned kQuietLongestMs = 5000;
constexpr double kPhaseOverFloor = 1.2;
constexpr double kInstallOverFloors = 1.1;
constexpr double kLongestUninstall = 0.5;
constexpr double kLongestFirstFrame = 0.15;
constexpr double kReplyP99Ms = 20;
constexpr double kReplyMaxMs = 50;
constexpr int kNameChars = 256;

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = static_cast<DWORD>(std::size(name));
    return GetComputerNameW(name, &size) ? name : L"";
}

std::wstring UserName()
{
    wchar_t name[kNameChars];
    DWORD size = static_cast<DWORD>(std::size(name));
    return GetUserNameW(name, &size) ? name : L"";
}

// The group's folder in this user's Start Menu, where Wine's Program
// Manager keeps it.
bool GroupFolderPresent(const std::wstring& group)
{
    wchar_t programs[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)))
        return false;
    return GetFileAttributesW((std::wstring(programs) + L"\\" + group).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<double> WholeSeconds(const std::vector<LaunchResult>& runs)
{
    std::vector<double> seconds;
    for (const LaunchResult& run : runs)
        seconds.push_back(run.seconds);
    return seconds;
}

struct PhaseRow {
    size_t phase;
    int floor;                  // < 0: none
    const wchar_t* floorName;  // what the floor does
};

// The phases of one program's runs against their floors, then its replies.
void PrintPhaseTables(const wchar_t* program, const wchar_t* const* names, const std::vector<PhaseRow>& rows,
                      const std::vector<LaunchResult>& runs, const std::vector<double>* floors)
{
    wprintf(L"| %ls phase | seen | median | fastest - slowest | floor: the mandated work alone | floor | "
            L"phase / floor | <= %.1f |\n|---|---:|---:|---:|---|---:|---:|---|\n",
            program, kPhaseOverFloor);
    for (const PhaseRow& row : rows) {
        std::vector<double> seconds = PhaseSpan(runs, row.phase, row.phase + 1);
        wprintf(L"| %ls | %u of %u | %.3f s | %.3f - %.3f s |", names[row.phase], static_cast<unsigned>(seconds.size()),
                static_cast<unsigned>(runs.size()), Median(seconds), Percentile(seconds, 0), Percentile(seconds, 1));
        if (row.floor < 0) {
            wprintf(L" none | | | |\n");
            continue;
        }
        const double floor = Median(floors[row.floor]);
        const double ratio = floor > 0 ? Median(seconds) / floor : 0;
        wprintf(L" %ls | %.3f s | %.2f | %ls |\n", row.floorName, floor, ratio,
                Verdict(!seconds.empty() && floor > 0 && ratio <= kPhaseOverFloor));
    }
    std::vector<double> whole = WholeSeconds(runs);
    wprintf(L"| whole run, launch to exit | %u of %u | %.3f s | %.3f - %.3f s | | | | |\n\n",
            static_cast<unsigned>(whole.size()), static_cast<unsigned>(runs.size()), Median(whole),
            Percentile(whole, 0), Percentile(whole, 1));

    wprintf(L"| %ls phase | replies | p50 | p99 | max | p99 <= %.0f ms, max <= %.0f ms |\n"
            L"|---|---:|---:|---:|---:|---|\n",
            program, kReplyP99Ms, kReplyMaxMs);
    for (const PhaseRow& row : rows) {
        std::vector<double> ms = PhaseReplies(runs, row.phase);
        const bool met = !ms.empty() && Percentile(ms, 0.99) <= kReplyP99Ms && Percentile(ms, 1) <= kReplyMaxMs;
        wprintf(L"| %ls | %u | %.1f ms | %.1f ms | %.1f ms | %ls |\n", names[row.phase],
                static_cast<unsigned>(ms.size()), Percentile(ms, 0.5), Percentile(ms, 0.99), Percentile(ms, 1),
                ms.empty() ? L"no replies" : Verdict(met));
    }
    wprintf(L"\n");
}

// Each reply over the target goes to the log with its phase, as the report
// counts it, and how far into it it was sent, so that a slow one can be
// traced to the step that held the window.
template <size_t N>
void LogSlowReplies(const wchar_t* run, const wchar_t* const (&phaseNames)[N], const LaunchResult& result)
{
    for (size_t phase = 0; phase < N; ++phase)
        for (const Reply& reply : result.RepliesIn(phase))
            if (reply.ms > kReplyMaxMs)
                fwprintf(stderr, L"whole\t%ls slow reply\t%.1f ms\t%ls +%.3f s\n", run, reply.ms,
                         phaseNames[phase], reply.sentAfter - result.phaseFrom[phase]);
}

}  // namespace

WholeInstallBench::WholeInstallBench(const std::wstring& share, const std::wstring& destination,
                                     const ProductTexts& texts, ScreenBackdrop& screen, InitiateWatch& initiates)
    : share_(share), destination_(destination), texts_(texts), screen_(screen), initiates_(initiates)
{
    // The prefix's own user, as which Wine runs services, named as the
    // tests and the demo name it: this computer's account.
    userName_ = UserName();
    account_ = {ComputerName() + L"\\" + userName_, L"x"};
}

void WholeInstallBench::Failed(const wchar_t* what, double seconds)
{
    ++failures_;
    wprintf(L"FAILED: %ls (%.3f s)\n", what, seconds);
}

// What a run leaves that the next must not find: the product directory,
// the entry in the list of installed programs, the program group.
void WholeInstallBench::Clean()
{
    RemoveTree(destination_);
    RemoveUninstallEntry();
    if (GroupFolderPresent(texts_.GroupName()))
        SendGroupCommands(texts_.UninstallCommands());
    WaitUntilQuiet();
}

void WholeInstallBench::WaitUntilQuiet() const
{
    const double waited = WaitForIdleProcessors(kQuietIdleShare, kQuietWindowMs, kQuietLongestMs);
    fwprintf(stderr, L"whole\twaited for a quiet machine\t%.3f s\n", waited);
}

void WholeInstallBench::RunFloors(bool keep)
{
    Clean();
    double seconds[kFloorCount];
    seconds[kCheckFloor] = CheckServices(texts_.Services());
    // Under the names setup installs them as: the services run the
    // programs by those.
    CreateDirectoryW(destination_.c_str(), nullptr);
    std::vector<std::pair<std::wstring, std::wstring>> files;
    for (const std::wstring& name : ShareFiles(share_))
        files.emplace_back(share_ + name, destination_ + texts_.InstalledName(name));
    ULONGLONG bytes = 0;
    bool copied = true;
    double start = Now();
    for (const auto& [from, to] : files)
        copied = LzCopyFile(from, to, &bytes) && copied;
    seconds[kCopyFloor] = copied ? Now() - start : -1;
    seconds[kCreateFloor] = CreateAndStartServices(texts_.Services(), destination_, account_);
    seconds[kGroupFloor] = SendGroupCommands(texts_.InstallCommands(destination_, share_));
    groupWindowsClosed_ += CloseGroupWindows(texts_.GroupName(), kGroupWindowsQuietMs, kGroupWindowsLongestMs);
    WaitUntilQuiet();
    seconds[kStopFloor] = StopAndDeleteServices(texts_.Services());
    start = Now();
    seconds[kRemoveFloor] = RemoveTree(destination_) ? Now() - start : -1;
    seconds[kUngroupFloor] = SendGroupCommands(texts_.UninstallCommands());
    const wchar_t* const names[kFloorCount] = {L"services check floor", L"LZCopy floor",
                                               L"services create and start floor", L"group commands floor",
                                               L"services stop and delete floor", L"file removal floor",
                                               L"group deletion floor"};
    for (int floor = 0; floor < kFloorCount; ++floor) {
        fwprintf(stderr, L"whole\t%ls\t%.3f s\n", names[floor], seconds[floor]);
        if (seconds[floor] < 0)
            Failed(names[floor], seconds[floor]);
        else if (keep)
            floors_[floor].push_back(seconds[floor]);
    }
}

void WholeInstallBench::RunSetup(bool keep)
{
    Clean();
    WatchOptions install;
    install.frameClass = L"TWInst_Frame";
    install.screen = &screen_;
    install.phases = InstallProbes(destination_, copiedBytes_, initiates_);
    LaunchResult installed = RunWatched(Quoted(share_ + L"setup.exe") + L" /SMS: /TS: /DEST:" +
                                            WithoutTrailingSlash(destination_) + L" /USER:" + userName_ +
                                            L" /DOMAIN:$LOCAL$ /PASSWORD:x",
                                        install);
    const ULONGLONG bytes = TreeBytes(destination_);
    // The services registered (the check finds them) and the files there.
    const bool installOk = installed.started && installed.exitCode == 0 && bytes > 0 &&
                           CheckServices(texts_.Services()) < 0;
    fwprintf(stderr, L"whole\tsetup.exe install\t%.3f s\texit %lu\n", installed.seconds, installed.exitCode);
    LogSlowReplies(L"install", kInstallPhaseNames, installed);
    groupWindowsClosed_ += CloseGroupWindows(texts_.GroupName(), kGroupWindowsQuietMs, kGroupWindowsLongestMs);
    if (!installOk) {
        Failed(L"setup.exe install as administrator", installed.seconds);
        return;
    }
    const bool phasesKnown = copiedBytes_ > 0;
    copiedBytes_ = bytes;
    WaitUntilQuiet();

    WatchOptions uninstall;
    uninstall.frameClass = L"TWInst_Frame";
    uninstall.screen = &screen_;
    uninstall.phases = UninstallProbes(destination_, bytes, initiates_);
    LaunchResult removed = RunWatched(Quoted(destination_ + L"setup.exe") + L" /U: /UNINSTALL: /SMS:", uninstall);
    const bool uninstallOk = removed.started && removed.exitCode == 0 && CheckServices(texts_.Services()) >= 0 &&
                             !UninstallEntryPresent();
    fwprintf(stderr, L"whole\tsetup.exe uninstall\t%.3f s\texit %lu\n", removed.seconds, removed.exitCode);
    LogSlowReplies(L"uninstall", kUninstallPhaseNames, removed);
    if (!uninstallOk)
        Failed(L"setup.exe uninstall", removed.seconds);
    // The first install's copy could not be seen ending: its size was not
    // known yet.
    if (keep && phasesKnown) {
        installs_.push_back(installed);
        if (uninstallOk)
            uninstalls_.push_back(removed);
    }
}

void WholeInstallBench::Round(int round, bool keep)
{
    if (round % 2 == 0) {
        RunFloors(keep);
        RunSetup(keep);
    } else {
        RunSetup(keep);
        RunFloors(keep);
    }
    Clean();
}

void WholeInstallBench::Print() const
{
    const unsigned rounds = static_cast<unsigned>(floors_[kCopyFloor].size());
    wprintf(L"## The whole install and uninstall, as an administrator\n\n");
    wprintf(L"`setup.exe /SMS: /TS: /DEST:%ls /USER:%ls /DOMAIN:$LOCAL$ /PASSWORD:x` from the share of the "
            L"first payload (services created and started, program group built), then `%lssetup.exe /U: "
            L"/UNINSTALL: /SMS:`; the floors in the same rounds, in this process. Rounds: %u after one warm-up, "
            L"medians; every phase as its probe saw it start (bench/README.md); replies to WM_NULL sent every "
            L"10 ms, counted in the phase they were sent in.\n\n",
            WithoutTrailingSlash(destination_).c_str(), userName_.c_str(), destination_.c_str(), rounds);
    const std::vector<PhaseRow> installRows = {
        {kStartUp, -1, nullptr},
        {kServicesCheck, kCheckFloor, L"the manager opened, the three services looked for"},
        {kCopy, kCopyFloor, L"LZCopy of every file of the share"},
        {kServices, kCreateFloor, L"three services created, two started (the browser disabled)"},
        {kGroup, kGroupFloor, L"the same commands sent by a DDEML client"},
        {kEnd, -1, nullptr},
    };
    PrintPhaseTables(L"install", kInstallPhaseNames, installRows, installs_, floors_);
    const std::vector<PhaseRow> uninstallRows = {
        {kUninstallStartUp, -1, nullptr},
        {kUninstallServices, kStopFloor, L"two stopped, three deleted, their processes ended"},
        {kUninstallFiles, kRemoveFloor, L"every file deleted"},
        {kUninstallGroup, kUngroupFloor, L"the same commands sent by a DDEML client"},
        {kUninstallEnd, -1, nullptr},
    };
    PrintPhaseTables(L"uninstall", kUninstallPhaseNames, uninstallRows, uninstalls_, floors_);

    double floorSum = 0;
    for (Floor floor : {kCheckFloor, kCopyFloor, kCreateFloor, kGroupFloor})
        floorSum += Median(floors_[floor]);
    const double install = Median(WholeSeconds(installs_));
    const double uninstall = Median(WholeSeconds(uninstalls_));
    std::vector<double> painted;
    for (const LaunchResult& run : installs_)
        if (run.paintedAfter >= 0)
            painted.push_back(run.paintedAfter);
    wprintf(L"- Whole install %.3f s against the sum of its floors %.3f s: %.2f (target <= %.1f: %ls)\n", install,
            floorSum, floorSum > 0 ? install / floorSum : 0, kInstallOverFloors,
            Verdict(!installs_.empty() && floorSum > 0 && install <= kInstallOverFloors * floorSum));
    wprintf(L"- Unattended uninstall %.3f s (target <= %.1f s: %ls)\n", uninstall, kLongestUninstall,
            Verdict(!uninstalls_.empty() && uninstall <= kLongestUninstall));
    wprintf(L"- Install launch to first painted frame %.3f s, %u of %u frames seen (target <= %.2f s: %ls)\n",
            Median(painted), static_cast<unsigned>(painted.size()), static_cast<unsigned>(installs_.size()),
            kLongestFirstFrame, Verdict(!painted.empty() && Median(painted) <= kLongestFirstFrame));
    wprintf(L"- Program Manager's group windows closed after the runs: %d\n\n", groupWindowsClosed_);
}
