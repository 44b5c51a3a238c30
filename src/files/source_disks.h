#pragma once
// Asking for a source disk and recognising it: by its volume label, or by
// the file sought at the path the user gave.
#include <windows.h>

// Prompts until the disk (label DISKn, or LOADER) or a directory holding
// `fileName` is found, then stores its path in SourcePath and returns
// true; false when the user cancels and confirms it. Unattended, the prompt
// counts as a cancel.
constexpr wchar_t kLoaderLabel[] = L"LOADER";

bool RequestSourceDisk(bool isLoaderDisk, int diskNumber, const wchar_t* fileName);

// True when the volume at `path` carries `label` (ignoring case) or `path`
// holds `fileName`.
bool IsExpectedDisk(const wchar_t* path, const wchar_t* label, const wchar_t* fileName);
