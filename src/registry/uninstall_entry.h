#pragma once
// The product's entry in the system's list of installed programs, which
// deployment tools read too: to find the product, its version, and the
// commands that remove it.
#include <windows.h>

// Writes the entry of a completed install of `kilobytes` into the product
// directory `directory` (ending in a backslash), value by value into
// kUninstallKey, so that whatever else the key holds stays. Its commands run
// the installed copy of setup in the install's language. False when a value
// could not be written (a user without the rights to the key).
bool WriteUninstallEntry(const wchar_t* directory, DWORD kilobytes);
