#include "shell/setup_state.h"

HINSTANCE Instance;
const wchar_t* CommandLine = L"";
bool LanguageGiven;
bool MaintenanceMode;
bool IsAdmin;
bool PaletteDisplay;
UINT LangBase = 1000;
wchar_t SourcePath[kPathChars];
wchar_t DestinationPath[kPathChars];
DWORD InstallType = kInstallBackupServer;
DWORD SetupMode;
bool SequenceDone;
bool CancelRequested;
bool CancelPressed;
bool CancelConfirmed;
bool CommonGroup;
HWND DialogOwner;

HWND FrameWindow;
HWND ClientWindow;
HWND InfoWindow;
HWND PercentWindow;
HWND CancelButton;

int CurrentDisk = 1;
bool CopyErrorFlag;
int CopyPercent;
UINT BillboardId;

AccountErrorCodes AccountErrors;
ServiceAccountRecord ServiceAccount;
bool FocusUserFirst = true;
AccountUse AccountState = AccountUse::None;
bool AgentBrowserEnabled;
DWORD ServicesStoppedByRun;
bool RestartRequested;
bool RestartWorkLeft;
void (*SessionEndRoutine)();

int ExitCode = kExitCompleted;

void ResetSetupState(HINSTANCE instance, const wchar_t* commandLine)
{
    Instance = instance;
    CommandLine = commandLine ? commandLine : L"";
    LanguageGiven = false;
    MaintenanceMode = false;
    IsAdmin = false;
    PaletteDisplay = false;
    LangBase = 1000;
    SourcePath[0] = 0;
    DestinationPath[0] = 0;
    InstallType = kInstallBackupServer;
    SetupMode = kModeFullInstall;
    SequenceDone = false;
    CancelRequested = false;
    CancelPressed = false;
    CancelConfirmed = false;
    CommonGroup = false;
    DialogOwner = nullptr;
    FrameWindow = ClientWindow = InfoWindow = PercentWindow = CancelButton = nullptr;
    CurrentDisk = 1;
    CopyErrorFlag = false;
    CopyPercent = 0;
    BillboardId = 0;
    AccountErrors = {};
    SecureZeroMemory(&ServiceAccount, sizeof ServiceAccount);
    FocusUserFirst = true;
    AccountState = AccountUse::None;
    AgentBrowserEnabled = false;
    ServicesStoppedByRun = 0;
    RestartRequested = false;
    RestartWorkLeft = false;
    SessionEndRoutine = nullptr;
    ExitCode = kExitCompleted;
}
