#pragma once
// Probes of the system's own configuration, below HKEY_LOCAL_MACHINE.
#include <windows.h>

// The build number of Windows NT taken when the system's cannot be read: a
// build whose Program Manager takes 8-bit commands.
constexpr int kFallbackBuildNumber = 528;

// CurrentBuildNumber of SOFTWARE\MICROSOFT\Windows NT\CurrentVersion, read
// as a decimal number; kFallbackBuildNumber when it cannot be read as text.
int GetNtBuildNumber();

// Brings a "\device\" at the start of the Workstation network provider's
// Devicename into the form "\Device\", leaving the rest of the value, its
// type and its length as they are. Returns the error of opening the key,
// else that of closing it. Shows nothing.
LONG FixNetworkProviderDeviceName();
