#pragma once
// The data and catalog directories of a product directory, as this computer
// reaches them and as other computers do.
#include <windows.h>

// The longest computer name GetComputerNameW may give here, with its
// terminator.
constexpr int kComputerNameChars = 259;
// What follows the drive in a path: the product directory after its colon,
// the subdirectory and a backslash.
constexpr int kPathTailChars = 260;
// "\\", the computer name, "\", the drive letter and "$".
constexpr int kRemoteRootChars = 2 + (kComputerNameChars - 1) + 1 + 2;
constexpr int kDataPathChars = kRemoteRootChars + kPathTailChars + 1;

struct DataPaths {
    wchar_t data[kDataPathChars];
    wchar_t dataRemote[kDataPathChars];
    wchar_t catalog[kDataPathChars];
    wchar_t catalogRemote[kDataPathChars];
};

// Fills `paths` for the product directory `destination`. `server` is this
// computer's name when other computers can reach its drives through their
// administrative shares, else null, and the remote paths are the local ones.
// False, with `paths` untouched, when the destination names no drive.
bool BuildDataPaths(const wchar_t* destination, const wchar_t* server, DataPaths& paths);
