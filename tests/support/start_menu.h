#pragma once
// The Start Menu folder that the platform makes of a group, and its links.
#include <windows.h>

#include <string>

namespace support {

// The folder of the personal group `group`, with a trailing backslash.
std::wstring StartMenuGroupFolder(const std::wstring& group);

// Both empty when the link cannot be loaded.
struct ShellLinkData {
    std::wstring target;
    std::wstring workingDirectory;
};
ShellLinkData ReadShellLink(const std::wstring& path);

}  // namespace support
