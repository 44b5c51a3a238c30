// Starts a program and watches it from this process: how long it runs, when
// its window appears, when its backdrop is first painted on the screen, and
// how fast its window replies while it works.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ScreenBackdrop;

struct WatchOptions {
    // The class of the program's top-level window, sent WM_NULL every 10 ms
    // once it exists; nullptr: no window is watched.
    const wchar_t* frameClass = nullptr;
    // The class of the window whose visibility marks the copy: replies count
    // only while it is visible; nullptr: every reply counts. It is a child
    // of the frame, or of the frame's child of `clientClass` when that is
    // given.
    const wchar_t* copyingClass = nullptr;
    const wchar_t* clientClass = nullptr;
    // Watches for the backdrop covering the screen; nullptr: no screen reads.
    ScreenBackdrop* screen = nullptr;
    // Runs the program with the Administrators group deny-only, as a
    // standard user's token has it.
    bool withoutAdministrator = false;
};

struct LaunchResult {
    bool started = false;
    DWORD exitCode = STILL_ACTIVE;
    double seconds = 0;          // start to exit
    double windowAfter = -1;     // start to the frame existing; < 0: never
    double paintedAfter = -1;    // start to the backdrop over most of the screen; < 0: not seen
    double copyFrom = -1;        // start to the first and the last probe that saw the copy; < 0: none did
    double copyTo = -1;
    bool screenWasCovered = false;  // the backdrop was on the screen before the start
    std::vector<double> repliesMs;  // WM_NULL round trips while copying
};

LaunchResult RunWatched(std::wstring commandLine, const WatchOptions& options);
