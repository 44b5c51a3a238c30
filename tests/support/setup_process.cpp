#include "support/setup_process.h"

#include "common/standard_user_token.h"

namespace support {

SetupLaunch From(const std::wstring& folder)
{
    SetupLaunch launch;
    launch.program = folder + L"setup.exe";
    return launch;
}

void CopySimulatedShare(const std::wstring& folder)
{
    CopyFolder(FixturePath(L"share-en"), folder);
    std::wstring built = SETUP_EXE_PATH;
    built.replace(built.rfind(L"setup.exe"), 9, L"setup_simulated.exe");
    CopyFileW(built.c_str(), (folder + L"setup.exe").c_str(), FALSE);
    DeleteFileW((folder + L"checksum.lst").c_str());
}

SetupProcess::SetupProcess(const std::wstring& arguments, SetupLaunch launch)
{
    std::wstring commandLine = L"\"" + launch.program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    if (launch.namesServiceAccount)
        commandLine += L" /USER:" + UserName() + L" /DOMAIN:$LOCAL$ /PASSWORD:x";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    HANDLE token = launch.withoutAdministrator ? TokenWithoutAdministrators() : nullptr;
    const BOOL started = launch.withoutAdministrator
                             ? token && CreateProcessAsUserW(token, nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                                                             0, nullptr, nullptr, &startup, &process_)
                             : CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                              &startup, &process_);
    if (token)
        CloseHandle(token);
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

// A visible top-level window of the process by class and, unless null, caption.
HWND SetupProcess::WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (found = nullptr; (found = FindWindowExW(nullptr, found, className, caption)) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(found))
                    return true;
            }
            return false;
        },
        timeoutMs);
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

HWND SetupProcess::WaitForCancelButton()
{
    HWND client = GetWindow(WaitForFrame(), GW_CHILD);
    HWND percent = client ? FindWindowExW(client, nullptr, L"TWInst_Percent", nullptr) : nullptr;
    return percent ? FindWindowExW(percent, nullptr, L"Button", nullptr) : nullptr;
}

bool SetupProcess::Answer(const wchar_t* caption, int id, DWORD timeoutMs)
{
    HWND box = WaitForDialog(caption, timeoutMs);
    if (box)
        PressButton(box, id);
    return box && WaitUntil([&] { return !IsWindow(box); });
}

DWORD SetupProcess::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024];
    return SendMessageTimeoutW(window, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                               5000, nullptr)
               ? text
               : L"";
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256];
    return GetClassNameW(window, name, ARRAYSIZE(name)) ? name : L"";
}

std::wstring ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

void PressButton(HWND dialog, int id)
{
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(20)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
    return true;
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring longest;
    for (HWND child = nullptr; (child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr;) {
        std::wstring text = WindowText(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

}  // namespace support
