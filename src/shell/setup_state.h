#pragma once
// The process-wide state of one setup run: every field that more than one
// unit reads is declared here, once, with the units that write it.
// ResetSetupState gives each its start value; start-up and the tests use it.
// State that one unit alone reads stays private to that unit, gathered in
// one struct that one function of the unit resets (the copy's counters, the
// DDE conversation).
#include <windows.h>

constexpr int kPathChars = 260;

// Bits of InstallType; file-table rows carry a mask of them.
enum : DWORD {
    kInstallBackupServer = 1,
    kInstallJobScopeOnly = 2,
    kInstallRemoteAdmin = 4,
};

// Values of SetupMode. Only uninstall changes behaviour here (the wording of
// the cancel question).
enum : DWORD {
    kModeFullInstall = 0,
    kModeJobScopeInstall = 1,
    kModeLoaderInstall = 2,
    kModeUninstall = 3,
};

// Exit codes of the program, in the values that deployment tools know: a
// run that did everything it set out to do; one that did so but left work
// for the next restart; one that did not (cancelled, refused or failed);
// and one that found another setup of the product running and changed
// nothing, which tools try again later.
enum : int {
    kExitCompleted = 0,
    kExitNotCompleted = 1,
    kExitAnotherSetupRunning = ERROR_INSTALL_ALREADY_RUNNING,
    kExitRestartRequired = ERROR_SUCCESS_REBOOT_REQUIRED,
};

// Written by start-up.
extern HINSTANCE Instance;              // resources come from here
extern const wchar_t* CommandLine;      // the whole process command line
extern bool LanguageGiven;              // "/L:" was on the command line
extern bool MaintenanceMode;            // "/U:" was on the command line
extern bool IsAdmin;                    // the token holds the Administrators group
extern bool PaletteDisplay;             // the screen has 8 bits per pixel

// Written by start-up ("/L:") and the language selection.
extern UINT LangBase;                   // bank number times 1000

// Written by start-up; the disk prompt replaces it with the path the user
// gave.
extern wchar_t SourcePath[kPathChars];  // where the installation files are read

// Written by the start handler (the default), the destination dialog and the
// copy driver (its trailing backslash).
extern wchar_t DestinationPath[kPathChars];

// Written by the install-type choice (and the start handler before the
// maintenance flow).
extern DWORD InstallType;
extern DWORD SetupMode;

// Written by start-up (false) and the start handler (true once it returns).
extern bool SequenceDone;

// The cancel request: raised by the Cancel button, closing the frame, the
// end of the session and the disk prompt; answered by CheckCancel.
extern bool CancelRequested;            // the user asked to stop
extern bool CancelPressed;              // the Cancel button was used at least once
extern bool CancelConfirmed;            // a cancel was confirmed; not asked again

// Written by the destination step: the dialog's check box when its OK is
// accepted, or "/COMMON:" with "/DEST:".
extern bool CommonGroup;

// Written by the frame when it is created: the owner of every modal dialog.
extern HWND DialogOwner;

// Written by the setup window as it creates its windows.
extern HWND FrameWindow;
extern HWND ClientWindow;
extern HWND InfoWindow;
extern HWND PercentWindow;
extern HWND CancelButton;

// Copy progress. The install sequence sets the disk to 1 and the percent to
// 0 before the copy; the file copy moves on to the next disk, sets the
// error flag (never cleared) and advances the percent and the billboard.
extern int CurrentDisk;                 // the numbered source disk now expected
extern bool CopyErrorFlag;              // a copy failed or was cancelled
extern int CopyPercent;                 // the percent the gauge shows during the copy
extern UINT BillboardId;                // absolute ID of the billboard text now shown

// The service account: the account operations record the codes of their
// last failing calls (never cleared during a run; read for the messages),
// the account dialogs and the unattended options fill the account, and the
// service installation says whether the account may be used.
struct AccountErrorCodes {
    DWORD os;   // Win32 error of the last failing account or registry call
    DWORD net;  // status of the last network-management call that records it
    DWORD nt;   // status of the last LSA call
};
extern AccountErrorCodes AccountErrors;

constexpr int kAccountDomainChars = 15;
constexpr int kAccountUserChars = 128;
constexpr int kAccountPasswordChars = 64;
struct ServiceAccountRecord {
    wchar_t domain[kAccountDomainChars + 1];
    wchar_t user[kAccountUserChars + 1];
    wchar_t password[kAccountPasswordChars + 1];  // wiped when no longer needed
};
extern ServiceAccountRecord ServiceAccount;   // written by the account dialogs and options
extern bool FocusUserFirst;                   // the account dialog's first opening is not over

enum class AccountUse { None, Accepted, Rejected };
extern AccountUse AccountState;               // written by the service installation
extern bool AgentBrowserEnabled;              // written by the install sequence

// Written by StopServices: bit n is set when the stop request for row n of
// the service table was accepted in this run. StartServices restarts those.
extern DWORD ServicesStoppedByRun;

// Written by the uninstall's restart just before it asks the system to
// restart: the end of the session that follows is setup's own request, not
// one to question.
extern bool RestartRequested;

// Written by the uninstall's file removal when it leaves a file of the
// product, in use, to the next restart: a completed run then ends with
// kExitRestartRequired. Setup's own copy and the emptied directory levels,
// which every uninstall leaves to the restart, do not count: nothing of the
// product runs from them any more.
extern bool RestartWorkLeft;

// Written by the install while it can still undo itself (from its start to
// the end of its copy), null otherwise; run by the frame when the session
// ends, before the system ends the process.
extern void (*SessionEndRoutine)();

// Written by RequestProgramEnd: the code the program ends with, the gravest
// one any step asked for (shell/message_loop.h), so that a step that fails
// after another asked for the end is not hidden by it.
extern int ExitCode;

// Gives every field above its start value, for a run of `instance` with
// `commandLine`.
void ResetSetupState(HINSTANCE instance, const wchar_t* commandLine);
