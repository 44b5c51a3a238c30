#pragma once
// The Start Menu folders that the platform's Program Manager makes of a
// program group, and the shell links in them.
#include <windows.h>

#include <set>
#include <string>

// The folder of the personal group `group`, with a trailing backslash.
std::wstring StartMenuGroupFolder(const std::wstring& group);

// The item titles of the group: its .lnk files' names without the extension.
std::set<std::wstring> StartMenuItems(const std::wstring& group);

struct ShellLinkData {
    bool read = false;  // false when the link cannot be loaded
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring iconPath;
    int iconIndex = -1;
};
ShellLinkData ReadShellLink(const std::wstring& path);
