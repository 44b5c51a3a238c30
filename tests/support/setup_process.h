#pragma once
// Runs the built setup.exe as a child process and drives its windows the way
// a person would: find a window by class and caption, read texts, press
// buttons.
#include <windows.h>

#include <functional>
#include <string>

#include "support/install_support.h"

namespace support {

constexpr DWORD kWindowWait = 15000;

struct SetupLaunch {
    // The setup.exe to start: the built one, or a copy on a source disk or
    // share, whose folder is then the source of the files.
    std::wstring program = SETUP_EXE_PATH;
    // Name this prefix's own user (which Wine runs services as) as the
    // service account on the command line, so that its dialog is not shown.
    bool namesServiceAccount = true;
    // Start it as a standard user: Administrators only as a deny-only group.
    bool withoutAdministrator = false;
};

// The setup.exe in `folder` (ending in a backslash), started from there.
SetupLaunch From(const std::wstring& folder);

// Copies the English share into `folder` (ending in a backslash) with the
// test build of setup (tests/support/simulated_setup.cpp) as its setup.exe,
// and without the checksum list, which names the setup.exe that ships.
void CopySimulatedShare(const std::wstring& folder);

class SetupProcess {
public:
    explicit SetupProcess(const std::wstring& arguments, SetupLaunch launch = {});
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    // A visible dialog (#32770) or the setup frame of this process; null
    // after the timeout (0: at this moment). A null caption matches any.
    HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs = kWindowWait);
    HWND WaitForFrame(DWORD timeoutMs = kWindowWait);
    // The percent panel's button of the setup frame.
    HWND WaitForCancelButton();
    // Waits for the message box `caption`, presses `id` and waits until the
    // box has gone; false when it never came or did not go.
    bool Answer(const wchar_t* caption, int id, DWORD timeoutMs = kWindowWait);
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit(DWORD timeoutMs = kWindowWait);

private:
    HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);

    PROCESS_INFORMATION process_ = {};
};

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
std::wstring ItemText(HWND dialog, int id);
// Presses a button as a click would; returns at once.
void PressButton(HWND dialog, int id);
// Polls `condition` every 20 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWindowWait);
// The text of a message box (its longest static text).
std::wstring MessageBoxText(HWND box);

}  // namespace support
