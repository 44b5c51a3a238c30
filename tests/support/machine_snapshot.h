#pragma once
// What an install may change on the computer, read into one map from a name
// ("file C:\TAPWRITE\NT\twnser.exe", "value Software\Velmar\...|Name",
// "service VelmarAgentBrowser") to what it holds, so that two readings can
// be compared and their differences named.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace support {

using MachineSnapshot = std::map<std::wstring, std::string>;

// Every file and folder below `folder` (included): attributes, last-write
// time and bytes. Nothing when it is absent.
void AddFolder(MachineSnapshot& snapshot, const std::wstring& folder);
// One file, the same way.
void AddFile(MachineSnapshot& snapshot, const std::wstring& path);
// Every key and value of the tree `path` below `root`.
void AddRegistryTree(MachineSnapshot& snapshot, HKEY root, const std::wstring& path);
// A service: its state once it is no longer starting or stopping, and its
// key below HKLM\System\CurrentControlSet\Services.
void AddService(MachineSnapshot& snapshot, const std::wstring& name);

// The names read differently (or only once) by `before` and `after`.
std::vector<std::wstring> Differences(const MachineSnapshot& before, const MachineSnapshot& after);

}  // namespace support
