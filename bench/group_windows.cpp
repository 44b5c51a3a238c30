#include "group_windows.h"

#include <windows.h>

#include <vector>

namespace {

constexpr DWORD kLookMs = 20;
constexpr DWORD kLongestEndMs = 5000;
constexpr int kTitleChars = 256;

struct Search {
    std::wstring title;
    std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t title[kTitleChars];
    if (IsWindowVisible(window) && GetWindowTextW(window, title, kTitleChars) && search->title == title)
        search->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> GroupWindows(const std::wstring& group)
{
    Search search{group, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

}  // namespace

int CloseGroupWindows(const std::wstring& group, unsigned quietMs, unsigned longestMs)
{
    const DWORD start = GetTickCount();
    DWORD lastChange = start;
    size_t count = GroupWindows(group).size();
    while (GetTickCount() - lastChange < quietMs && GetTickCount() - start < longestMs) {
        Sleep(kLookMs);
        size_t now = GroupWindows(group).size();
        if (now != count)
            lastChange = GetTickCount();
        count = now;
    }
    std::vector<HANDLE> processes;
    const std::vector<HWND> windows = GroupWindows(group);
    for (HWND window : windows) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId))
            processes.push_back(process);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    for (HANDLE process : processes) {
        WaitForSingleObject(process, kLongestEndMs);
        CloseHandle(process);
    }
    return static_cast<int>(windows.size());
}
