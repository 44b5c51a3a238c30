#pragma once
#include <windows.h>

// Deletes the key `path` below `root` with every key below it, depth first.
// True when the key itself was deleted; false for a null path, a key that
// does not exist, or one that kept a subkey it could not delete.
bool DeleteRegistryTree(HKEY root, const wchar_t* path);
