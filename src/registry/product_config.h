#pragma once
// The product's configuration in the registry, below
// HKEY_LOCAL_MACHINE\Software\Velmar\Tapewright: default settings, written
// only where a value is missing, and the data and catalog paths.
#include <windows.h>

// Creates or opens `keyPath` below `root` and sets one value of exactly
// `bytes` bytes. False on any failure, a processor fault inside the registry
// calls included.
bool SetRegistryValue(HKEY root, const wchar_t* keyPath, const wchar_t* valueName, DWORD type, const void* data,
                      DWORD bytes);

// Writes every default of registry/product_defaults.h that is not there yet.
// True when all were written or present; false when a key or value could not
// be written or a processor fault was caught.
bool WriteRegistryDefaults(HKEY root);

// Writes "Data Path", "Data Path Remote", "Catalog Path" and "Catalog Path
// Remote" for the product directory `destination` (ending in a backslash).
void WriteDataPaths(const wchar_t* destination);

// The defaults, then the data paths. Reports nothing.
void WriteProductConfiguration(const wchar_t* destination);
