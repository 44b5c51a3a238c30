#pragma once
// Registering and starting the product's services under the service
// account.
#include <windows.h>

#include "services/service_table.h"

// Creates and starts the service of `entry` from `destDir` (ending with a
// backslash), asking for the account as needed. True when done; false when
// it failed (reported) or the user cancelled the install.
bool InstallService(const ServiceEntry& entry, const wchar_t* destDir);

// InstallService for each product service of the install type, up to the
// first that fails; the account's password is wiped afterwards. True when
// every one was installed.
bool InstallServices(const wchar_t* destDir);
