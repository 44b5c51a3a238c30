#pragma once
// Deleting a key of the registry with everything below it: by the uninstall,
// and by the snapshot that puts back what a failed install changed.
#include <windows.h>

// Deletes the key `path` below `root` with every key below it, depth first.
// True when the key is gone, or never was; false for a null path, or a key
// that kept a subkey it could not delete.
bool DeleteRegistryTree(HKEY root, const wchar_t* path);
