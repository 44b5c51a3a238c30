#pragma once
#include <windows.h>

// Chooses what to install from "/TS:", "/RA:" or "/EV:", else from the
// install-type dialog. True with `installType` and SetupMode set; false when
// the user quit or the dialog could not be shown.
bool ChooseInstallType(HWND frame, DWORD& installType);

// The install type that "/TS:", "/RA:" or "/EV:" chooses; 0 when the dialog
// is to ask.
DWORD InstallTypeFromOptions();
