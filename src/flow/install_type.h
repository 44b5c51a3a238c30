#pragma once
#include <windows.h>

// Chooses what to install from "/TS:", "/RA:" or "/EV:", else from the
// install-type dialog. Returns 1 with `installType` and SetupMode set, or 0
// when the user quit or the dialog could not be shown.
int ChooseInstallType(HWND frame, DWORD& installType);
