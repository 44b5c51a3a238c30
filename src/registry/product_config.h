#pragma once
// The product's configuration in the registry, below
// HKEY_LOCAL_MACHINE\Software\Velmar\Tapewright: default settings, written
// only where a value is missing, and the data and catalog paths.
#include <windows.h>

// Creates or opens `keyPath` below `root` and sets one value of exactly
// `bytes` bytes. Non-zero on success; zero on any failure, a processor fault
// inside the registry calls included.
int SetRegistryValue(HKEY root, const wchar_t* keyPath, const wchar_t* valueName, DWORD type, const void* data,
                     DWORD bytes);

// Writes every default that is not there yet. 0 when all were written or
// present, else the OR of the two table walks' error codes; 0xFFFFFFFF when a
// processor fault was caught.
DWORD WriteRegistryDefaults(HKEY root);

// Writes "Data Path", "Data Path Remote", "Catalog Path" and "Catalog Path
// Remote" for the product directory `destination` (ending in a backslash).
void WriteDataPaths(const wchar_t* destination);

// The defaults, then the data paths. Reports nothing.
void WriteProductConfiguration(const wchar_t* destination);
