#pragma once
// Installing one file from the source disk into a directory.
#include <windows.h>

#include "shell/string_bank.h"

// Expands (or copies) `diskName` from `sourceDir` into `destDir` as
// `installedName`. With `versionChecked`, the platform's version-checked
// install is used and a newer file already there is kept. When the file is
// not on the source, the next numbered disk is asked for once. True on
// success; false on failure (after its message) or a confirmed cancel.
bool InstallOneFile(const wchar_t* sourceDir, const wchar_t* destDir, TextRef diskName, TextRef installedName,
                    bool compressed, bool versionChecked);
