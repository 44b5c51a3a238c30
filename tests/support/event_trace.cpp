#include "support/event_trace.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/install_support.h"
#include "support/setup_process.h"
#include "support/unix_link.h"

namespace support {

namespace {

// `text` in single quotes for the shell, which takes all of it literally.
std::string ShellWord(const std::wstring& text)
{
    std::string quoted = "'";
    for (wchar_t c : text)
        quoted += c == L'\'' ? std::string("'\\''") : std::string(1, static_cast<char>(c));
    return quoted + "'";
}

// Wine writes a string as L"..." with \n, \r, \t, \", \\ and \XXXX (four
// hexadecimal digits) for what is not printable ASCII.
std::wstring Unescaped(const std::string& written)
{
    std::wstring text;
    for (size_t i = 0; i < written.size(); ++i) {
        if (written[i] != '\\') {
            text += static_cast<wchar_t>(written[i]);
            continue;
        }
        const char c = written[++i];
        const size_t at = std::string("nrt\"\\").find(c);
        if (at != std::string::npos) {
            text += L"\n\r\t\"\\"[at];
        } else {
            text += static_cast<wchar_t>(std::stoul(written.substr(i, 4), nullptr, 16));
            i += 3;
        }
    }
    return text;
}

}  // namespace

std::vector<TracedEvent> RunTracingEvents(const std::wstring& program, const std::wstring& arguments)
{
    const std::wstring folder = L"C:\\TWTRACE\\", script = folder + L"run.sh", trace = folder + L"trace.txt",
                       done = folder + L"done";
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::ofstream run(std::filesystem::path(script), std::ios::binary);
    run << "WINEDEBUG=-all,+eventlog wine " << ShellWord(program);
    std::wistringstream words(arguments);
    for (std::wstring word; words >> word;)
        run << " " << ShellWord(word);
    run << " </dev/null >/dev/null 2>\"$1\"\ntouch \"$2\"\n";
    run.close();
    std::vector<TracedEvent> events;
    if (RunUnix(L"/bin/sh", {script, trace, done}, [&] { return Exists(done); })) {
        const std::regex line(R"(:(trace|warn|err):eventlog:ReportEventW L"((?:[^"\\]|\\.)*)\")");
        std::istringstream lines(FileBytes(trace));
        std::smatch found;
        for (std::string text; std::getline(lines, text);) {
            if (std::regex_search(text, found, line))
                events.push_back({static_cast<WORD>(found[1] == "trace"  ? EVENTLOG_INFORMATION_TYPE
                                                    : found[1] == "warn" ? EVENTLOG_WARNING_TYPE
                                                                         : EVENTLOG_ERROR_TYPE),
                                  Unescaped(found[2])});
        }
    }
    RemoveTree(folder);
    return events;
}

}  // namespace support
