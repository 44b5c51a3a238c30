// The list is a short text file: the header line, then one line a file,
// "NAME SIZE CRC" (the size in decimal, the CRC in eight hexadecimal
// digits), lines ended by CR LF or LF. Names are printable ASCII without
// spaces, as the disk names of every bank are.
#include "files/checksum_list.h"

#include <iterator>
#include <string>
#include <vector>

#include "files/file_table.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/message_box.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// Far more than a list of the file table's rows takes; anything larger is
// not a list.
constexpr DWORD kMaxListBytes = 65536;
constexpr size_t kMaxNameChars = 255;

struct ChecksumLine {
    std::wstring name;
    DWORD size;
    DWORD crc;
};

// The list read last; empty when the source has none.
struct ChecksumState {
    std::vector<ChecksumLine> lines;
};
ChecksumState State;

enum class ListFile { Absent, Read, Unreadable };

ListFile ReadListFile(const wchar_t* path, std::string& text)
{
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ListFile::Absent
                                                                               : ListFile::Unreadable;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxListBytes)
        return ListFile::Unreadable;
    text.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!text.empty() && (!ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr) ||
                          read != text.size()))
        return ListFile::Unreadable;
    return ListFile::Read;
}

bool ParseNumber(const std::string& text, int base, size_t minDigits, size_t maxDigits, DWORD& number)
{
    if (text.size() < minDigits || text.size() > maxDigits)
        return false;
    ULONGLONG value = 0;
    for (char ch : text) {
        int digit = ch >= '0' && ch <= '9' ? ch - '0'
                    : base == 16 && ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                    : base == 16 && ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                           : -1;
        if (digit < 0)
            return false;
        value = value * static_cast<ULONGLONG>(base) + static_cast<ULONGLONG>(digit);
    }
    if (value > 0xFFFFFFFFull)
        return false;
    number = static_cast<DWORD>(value);
    return true;
}

bool ParseLine(const std::string& line, ChecksumLine& parsed)
{
    const size_t first = line.find(' ');
    const size_t second = first == std::string::npos ? std::string::npos : line.find(' ', first + 1);
    if (second == std::string::npos || first == 0 || first > kMaxNameChars)
        return false;
    parsed.name.clear();
    for (size_t i = 0; i < first; ++i) {
        if (line[i] <= ' ' || line[i] > '~')
            return false;
        parsed.name += static_cast<wchar_t>(line[i]);
    }
    return ParseNumber(line.substr(first + 1, second - first - 1), 10, 1, 10, parsed.size) &&
           ParseNumber(line.substr(second + 1), 16, 8, 8, parsed.crc);
}

const ChecksumLine* FindLine(const wchar_t* diskName)
{
    for (const ChecksumLine& line : State.lines)
        if (lstrcmpiW(line.name.c_str(), diskName) == 0)
            return &line;
    return nullptr;
}

bool Parse(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty() || lines[0] != kChecksumListHeader)
        return false;
    for (size_t i = 1; i < lines.size(); ++i) {
        ChecksumLine parsed;
        if (!ParseLine(lines[i], parsed) || FindLine(parsed.name.c_str()))
            return false;
        State.lines.push_back(parsed);
    }
    return true;
}

bool NamesEveryFile()
{
    for (int i = 0; i < kFileCount; ++i) {
        if (!(kFileTable[i].installTypes & InstallType))
            continue;
        wchar_t name[kMaxNameChars + 1];
        LoadBankString(LangBase + kFileTable[i].compressedNameId, name, std::size(name));
        if (!FindLine(name))
            return false;
    }
    return true;
}

}  // namespace

bool LoadChecksumList(const wchar_t* sourceDir)
{
    State = {};
    wchar_t name[kMaxNameChars + 1];
    LoadBankString(LangBase + IDS_DISKNAME_CHECKSUMS, name, std::size(name));
    wchar_t path[kJoinedPathChars];
    std::string text;
    ListFile read = ListFile::Unreadable;
    if (JoinPath(path, kJoinedPathChars, sourceDir, name))
        read = ReadListFile(path, text);
    if (read == ListFile::Absent)
        return true;
    if (read == ListFile::Read && Parse(text) && NamesEveryFile())
        return true;
    State = {};
    CopyErrorFlag = true;
    wchar_t message[1025];
    FormatBankString(message, std::size(message), LangBase + IDS_READ_TEXT, path);
    AskUser(LangBase + IDS_READ_TITLE, message, MB_OK, MB_ICONSTOP, IDOK);
    return false;
}

bool HasChecksum(const wchar_t* diskName)
{
    return FindLine(diskName) != nullptr;
}

bool MatchesChecksum(const wchar_t* diskName, ULONGLONG size, DWORD crc)
{
    const ChecksumLine* line = FindLine(diskName);
    return !line || (line->size == size && line->crc == crc);
}
