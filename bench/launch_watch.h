// Starts a program and watches it from this process: how long it runs, when
// its window appears, when its backdrop is first painted on the screen, when
// each phase of its work starts, and how fast its window replies meanwhile.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ScreenBackdrop;

// What a phase probe may look at: the running program.
struct ProbeTarget {
    HWND frame = nullptr;  // its top-level window; null until it exists
    DWORD processId = 0;
};

// Tells whether a phase has started. Probes look at the program from the
// outside (its windows, the files, registry and services it changes), are
// asked every few milliseconds once the previous phase has been seen, and
// must stay true once they are.
using PhaseProbe = std::function<bool(const ProbeTarget&)>;

struct WatchOptions {
    // The class of the program's top-level window, sent WM_NULL every 10 ms
    // once it exists; nullptr: no window is watched.
    const wchar_t* frameClass = nullptr;
    // The phases after the first, which runs from the launch; each probe
    // sees its phase start. A later phase seen first leaves the ones between
    // unseen.
    std::vector<PhaseProbe> phases;
    // Watches for the backdrop covering the screen; nullptr: no screen reads.
    ScreenBackdrop* screen = nullptr;
    // Runs the program with the Administrators group deny-only, as a
    // standard user's token has it.
    bool withoutAdministrator = false;
};

struct Reply {
    double sentAfter;  // seconds from the start
    double ms;         // the WM_NULL round trip
};

struct LaunchResult {
    bool started = false;
    DWORD exitCode = STILL_ACTIVE;
    double seconds = 0;          // start to exit
    double windowAfter = -1;     // start to the frame existing; < 0: never
    double paintedAfter = -1;    // start to the backdrop over most of the screen; < 0: not seen
    bool screenWasCovered = false;  // the backdrop was on the screen before the start
    // Start to each phase's start as its probe saw it, the first phase's
    // (0) included; < 0: not seen.
    std::vector<double> phaseFrom;
    std::vector<Reply> replies;

    // A seen phase's length: to the next seen phase or the exit; < 0 when
    // the phase was not seen.
    double PhaseSeconds(size_t phase) const;
    // The replies sent during a seen phase, and their round trips.
    std::vector<Reply> RepliesIn(size_t phase) const;
    std::vector<double> PhaseRepliesMs(size_t phase) const;
};

LaunchResult RunWatched(std::wstring commandLine, const WatchOptions& options);

// A seen phase's lengths over the runs; `to` past `from` sums the phases
// between, each run counted when it saw them all.
std::vector<double> PhaseSpan(const std::vector<LaunchResult>& runs, size_t from, size_t to);

// The round trips of the replies sent during a phase, over all the runs.
std::vector<double> PhaseReplies(const std::vector<LaunchResult>& runs, size_t phase);
