// install_bench SHARE PRODUCT_DIR_FOR_REFERENCE SETUP_DEST
//
// Measures, in one run on the same files:
//  - the bare expansion: bare_expand.exe (beside this program) expands every
//    compressed file of the share with LZRead in 8 KB blocks and writes it,
//    looking at the message queue twice per block as setup does: the work
//    setup must do and nothing else, timed from start to exit as setup is;
//  - the same expansion inside this process, without the program around it;
//  - LZCopy of the same files;
//  - an unattended Backup Server install by setup.exe from the share, while
//    this process sends the setup window a message every 10 ms and times
//    each reply;
//  - gui_floor.exe (beside this program), which only opens a maximised
//    window and ends: what any windowed program pays to start and end here.
// Each is measured in several interleaved rounds (this machine is noisy);
// prints the medians, the ratio of the install to the bare expansion and
// the reply latencies over all rounds.
#include <windows.h>
#include <lzexpand.h>

#include <algorithm>
#include <stdio.h>
#include <string>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<std::wstring> CompressedFiles(const std::wstring& share)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((share + L"*_").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void DrainQueue()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Expands every file; returns the seconds taken and the bytes written.
double BareExpansion(const std::wstring& share, const std::vector<std::wstring>& names, const std::wstring& out,
                     ULONGLONG* bytes)
{
    std::vector<char> buffer(8192);
    *bytes = 0;
    double start = Now();
    for (const std::wstring& name : names) {
        HANDLE source = CreateFileW((share + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        INT reader = LZInit(static_cast<INT>(reinterpret_cast<INT_PTR>(source)));
        HANDLE target = CreateFileW((out + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        INT count;
        do {
            count = LZRead(reader, buffer.data(), 8192);
            DWORD written = 0;
            if (count > 0) {
                WriteFile(target, buffer.data(), static_cast<DWORD>(count), &written, nullptr);
                *bytes += static_cast<ULONGLONG>(count);
            }
            DrainQueue();
            DrainQueue();
        } while (count == 8192);
        CloseHandle(target);
        LZClose(reader);
    }
    return Now() - start;
}

double WithLzCopy(const std::wstring& share, const std::vector<std::wstring>& names, const std::wstring& out)
{
    double start = Now();
    for (const std::wstring& name : names) {
        OFSTRUCT from;
        OFSTRUCT to;
        INT source = LZOpenFileW(const_cast<LPWSTR>((share + name).c_str()), &from, OF_READ);
        INT target = LZOpenFileW(const_cast<LPWSTR>((out + name + L".copy").c_str()), &to, OF_CREATE);
        LZCopy(source, target);
        LZClose(source);
        LZClose(target);
    }
    return Now() - start;
}

struct InstallResult {
    double seconds = 0;
    double frameAfter = 0;
    DWORD exitCode = STILL_ACTIVE;
    std::vector<double> latencies;
};

// Starts `commandLine`; while it runs, `watch` (if any) is called with the
// process handle. Returns the seconds from start to exit, 0 when it could
// not be started.
template <typename Watch>
double TimeProcess(std::wstring commandLine, DWORD* exitCode, Watch watch)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = Now();
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0;
    watch(process.hProcess, start);
    WaitForSingleObject(process.hProcess, INFINITE);
    double seconds = Now() - start;
    GetExitCodeProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

// Sends the setup window a message every 10 ms while setup runs and keeps
// how long each reply took.
void ProbeReplies(HANDLE process, double start, InstallResult& result)
{
    HWND frame = nullptr;
    while (!frame && WaitForSingleObject(process, 1) == WAIT_TIMEOUT)
        frame = FindWindowW(L"TWInst_Frame", nullptr);
    result.frameAfter = Now() - start;
    while (frame && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        double sent = Now();
        DWORD_PTR answer;
        if (!SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
            break;
        double replied = Now();
        result.latencies.push_back((replied - sent) * 1000);
        double next = sent + 0.010;
        while (Now() < next)
            Sleep(1);
    }
}

InstallResult TimeInstall(const std::wstring& share, const std::wstring& destination)
{
    InstallResult result;
    result.seconds = TimeProcess(L"\"" + share + L"setup.exe\" /SMS: /TS: /DEST:" + destination, &result.exitCode,
                                 [&result](HANDLE process, double start) { ProbeReplies(process, start, result); });
    return result;
}

double TimeProgram(const std::wstring& program)
{
    DWORD exitCode = 0;
    return TimeProcess(L"\"" + program + L"\"", &exitCode, [](HANDLE, double) {});
}

std::wstring BesideThisProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result = path;
    return result.substr(0, result.rfind(L'\\') + 1) + name;
}

// One argument of a command line; a backslash before the closing quote is
// doubled so that it stays a backslash.
std::wstring Quoted(const std::wstring& argument)
{
    std::wstring quoted = L"\"" + argument;
    if (!argument.empty() && argument.back() == L'\\')
        quoted += L'\\';
    return quoted + L"\"";
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        fwprintf(stderr, L"usage: install_bench SHARE\\ SCRATCH\\ DESTINATION\n");
        return 2;
    }
    std::wstring share = argv[1];
    std::wstring scratch = argv[2];
    std::wstring destination = argv[3];
    CreateDirectoryW(scratch.c_str(), nullptr);
    std::vector<std::wstring> names = CompressedFiles(share);

    constexpr int kRounds = 5;
    std::vector<double> bare, inProcess, lzcopy, install, startup, floor, latencies;
    const std::wstring floorProgram = BesideThisProgram(L"gui_floor.exe");
    const std::wstring bareCommand =
        Quoted(BesideThisProgram(L"bare_expand.exe")) + L" " + Quoted(share) + L" " + Quoted(scratch);
    ULONGLONG bytes = 0;
    DWORD exitCode = 0;
    for (int round = 0; round < kRounds; ++round) {
        DWORD bareExit = 0;
        bare.push_back(TimeProcess(bareCommand, &bareExit, [](HANDLE, double) {}));
        inProcess.push_back(BareExpansion(share, names, scratch, &bytes));
        lzcopy.push_back(WithLzCopy(share, names, scratch));
        floor.push_back(TimeProgram(floorProgram));
        InstallResult result = TimeInstall(share, destination);
        install.push_back(result.seconds);
        startup.push_back(result.frameAfter);
        latencies.insert(latencies.end(), result.latencies.begin(), result.latencies.end());
        if (result.exitCode != 0)
            exitCode = result.exitCode;
    }
    double bareMedian = Percentile(bare, 0.5);
    double lzcopyMedian = Percentile(lzcopy, 0.5);
    double installMedian = Percentile(install, 0.5);
    double floorMedian = Percentile(floor, 0.5);
    double worst = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());

    wprintf(L"compressed files:          %u (%.1f MB expanded), %d rounds, medians:\n",
            static_cast<unsigned>(names.size()), static_cast<double>(bytes) / 1e6, kRounds);
    wprintf(L"bare expansion:            %.3f s (bare_expand.exe, start to exit)\n", bareMedian);
    wprintf(L"  the same, in process:    %.3f s\n", Percentile(inProcess, 0.5));
    wprintf(L"LZCopy:                    %.3f s\n", lzcopyMedian);
    wprintf(L"setup.exe install:         %.3f s (window up after %.3f s; exit code %lu)\n", installMedian,
            Percentile(startup, 0.5), exitCode);
    wprintf(L"install / bare expansion:  %.2f (target at most 1.25)\n", installMedian / bareMedian);
    wprintf(L"install / LZCopy:          %.2f\n", installMedian / lzcopyMedian);
    wprintf(L"GUI program floor:         %.3f s (a program that opens a maximised window and ends)\n",
            floorMedian);
    wprintf(L"(install - floor) / bare:  %.2f (setup's own work against the bare expansion)\n",
            (installMedian - floorMedian) / bareMedian);
    wprintf(L"window replies:            %u, p99 %.1f ms (target at most 50), max %.1f ms (target at most 200)\n",
            static_cast<unsigned>(latencies.size()), Percentile(latencies, 0.99), worst);
    return exitCode == 0 ? 0 : 1;
}
