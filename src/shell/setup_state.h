#pragma once
// The process-wide state of one setup run. Every part of the program reads
// it; the comments name who writes each field.
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

extern HINSTANCE Instance;              // resources come from here
extern const wchar_t* CommandLine;      // the whole process command line
extern UINT LangBase;                   // bank number times 1000
extern bool LanguageGiven;              // "/L:" was on the command line
extern bool MaintenanceMode;            // "/U:" was on the command line
extern wchar_t SourcePath[kPathChars];  // where the installation files are read
extern wchar_t DestinationPath[kPathChars];
extern DWORD InstallType;
extern DWORD SetupMode;
extern bool IsAdmin;
extern bool PaletteDisplay;             // the screen has 8 bits per pixel
extern bool SequenceDone;               // the start handler has returned
extern bool CancelRequested;            // the user asked to stop
extern bool CancelPressed;              // the Cancel button was used at least once
extern bool CancelConfirmed;            // a cancel was confirmed; not asked again
extern HWND DialogOwner;
extern bool CommonGroup;

extern HWND FrameWindow;
extern HWND ClientWindow;
extern HWND InfoWindow;
extern HWND PercentWindow;
extern HWND CancelButton;
