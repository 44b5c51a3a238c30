#include "shell/setup_state.h"

HINSTANCE Instance;
const wchar_t* CommandLine = L"";
UINT LangBase = 1000;
bool LanguageGiven;
bool MaintenanceMode;
wchar_t SourcePath[kPathChars];
wchar_t DestinationPath[kPathChars];
DWORD InstallType = kInstallBackupServer;
DWORD SetupMode;
bool IsAdmin;
bool PaletteDisplay;
bool SequenceDone;
bool CancelRequested;
bool CancelPressed;
bool CancelConfirmed;
HWND DialogOwner;
bool CommonGroup;

HWND FrameWindow;
HWND ClientWindow;
HWND InfoWindow;
HWND PercentWindow;
HWND CancelButton;
