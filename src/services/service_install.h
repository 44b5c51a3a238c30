#pragma once
// Registering and starting the product's services under the service
// account.
#include <windows.h>

// Creates and starts each product service of the install type from
// `destDir` (ending with a backslash), asking for the account as needed, up
// to the first that fails (reported) or the user's cancel of the install;
// the account's password is wiped afterwards. True when every one was
// installed.
bool InstallServices(const wchar_t* destDir);
