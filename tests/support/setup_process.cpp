#include "support/setup_process.h"

#include <vector>

namespace {

// A copy of this process's token whose Administrators entry is deny-only.
HANDLE TokenWithoutAdministrators()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token))
        return nullptr;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    HANDLE restricted = nullptr;
    if (AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                 0, 0, 0, &administrators)) {
        SID_AND_ATTRIBUTES disable = {administrators, 0};
        if (!CreateRestrictedToken(token, 0, 1, &disable, 0, nullptr, 0, nullptr, &restricted))
            restricted = nullptr;
        FreeSid(administrators);
    }
    CloseHandle(token);
    return restricted;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t name[256];
    if (search->className && (!GetClassNameW(window, name, 256) || lstrcmpW(name, search->className) != 0))
        return TRUE;
    if (search->caption && WindowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption)
{
    WindowSearch search = {processId, className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

SetupProcess::SetupProcess(const std::wstring& arguments, SetupLaunch launch)
{
    std::wstring commandLine = L"\"" + launch.program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    BOOL started;
    if (launch.withoutAdministrator) {
        HANDLE token = TokenWithoutAdministrators();
        started = token && CreateProcessAsUserW(token, nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                                nullptr, &startup, &process_);
        if (token)
            CloseHandle(token);
    } else {
        started = CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process_);
    }
    if (!started)
        process_ = {};
}

SetupProcess::~SetupProcess()
{
    if (!process_.hProcess)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND SetupProcess::WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindProcessWindow(process_.dwProcessId, className, caption);
        return found != nullptr;
    }, timeoutMs);
    return found;
}

HWND SetupProcess::WaitForDialog(const wchar_t* caption, DWORD timeoutMs)
{
    return WaitForWindow(L"#32770", caption, timeoutMs);
}

HWND SetupProcess::WaitForFrame(DWORD timeoutMs)
{
    return WaitForWindow(L"TWInst_Frame", nullptr, timeoutMs);
}

HWND SetupProcess::FindDialog(const wchar_t* caption) const
{
    return FindProcessWindow(process_.dwProcessId, L"#32770", caption);
}

DWORD SetupProcess::WaitForExit(DWORD timeoutMs)
{
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024];
    LRESULT length = SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                                         SMTO_ABORTIFHUNG, 5000, nullptr)
                         ? lstrlenW(text)
                         : 0;
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring ItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring();
}

void PressButton(HWND dialog, int id)
{
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

namespace {

BOOL CALLBACK KeepLongestStatic(HWND child, LPARAM parameter)
{
    wchar_t name[32];
    if (GetClassNameW(child, name, 32) && lstrcmpiW(name, L"Static") == 0) {
        auto longest = reinterpret_cast<std::wstring*>(parameter);
        std::wstring text = WindowText(child);
        if (text.size() > longest->size())
            *longest = text;
    }
    return TRUE;
}

}  // namespace

std::wstring MessageBoxText(HWND box)
{
    std::wstring longest;
    EnumChildWindows(box, KeepLongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

namespace {

const wchar_t kInternational[] = L"Control Panel\\International";

}  // namespace

RegionalLanguage::RegionalLanguage(const wchar_t* code)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kInternational, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        return;
    DWORD size = sizeof previous_ - sizeof(wchar_t);
    hadValue_ = RegQueryValueExW(key, L"sLanguage", nullptr, nullptr, reinterpret_cast<BYTE*>(previous_), &size) ==
                ERROR_SUCCESS;
    RegSetValueExW(key, L"sLanguage", 0, REG_SZ, reinterpret_cast<const BYTE*>(code),
                   (lstrlenW(code) + 1) * sizeof(wchar_t));
    RegCloseKey(key);
}

RegionalLanguage::~RegionalLanguage()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kInternational, 0, KEY_ALL_ACCESS, &key))
        return;
    if (hadValue_)
        RegSetValueExW(key, L"sLanguage", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                       (lstrlenW(previous_) + 1) * sizeof(wchar_t));
    else
        RegDeleteValueW(key, L"sLanguage");
    RegCloseKey(key);
}
