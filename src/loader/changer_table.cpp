// The changer table: a text file of one changer a line, whose kept lines
// become the strings of the registry's multi-string value. Lines that are
// empty or begin with "#" or a space are comments.
#include <algorithm>
#include <iterator>
#include <string>

#include "loader/loader_module.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/message_box.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

constexpr wchar_t kChangerValue[] = L"VSDLoadTable";
constexpr int kMaxLines = 58;
constexpr size_t kMaxLineChars = 255;
// A text read ends here, as a file of an old editor does.
constexpr char kEndOfText = '\x1A';

class ChangerTable {
public:
    explicit ChangerTable(wchar_t (&value)[kChangerTableChars]) : value_(value) {}

    // False once no further line can be kept.
    bool Add(const std::string& line)
    {
        if (line.empty() || line[0] == '#' || line[0] == ' ')
            return true;
        // The rest of an overlong line is dropped, never made a line of its
        // own; a line that does not fit whole ends the table.
        size_t chars = line.size() < kMaxLineChars ? line.size() : kMaxLineChars;
        if (used_ + chars + 1 + 1 > static_cast<size_t>(kChangerTableChars))
            return false;
        for (size_t k = 0; k < chars; ++k)
            value_[used_++] = static_cast<unsigned char>(line[k]);
        value_[used_++] = 0;
        return ++lines_ < kMaxLines;
    }

    int Finish()
    {
        value_[used_++] = 0;
        return static_cast<int>(used_);
    }

private:
    wchar_t (&value_)[kChangerTableChars];
    size_t used_ = 0;
    int lines_ = 0;
};

void Report(UINT text)
{
    AskUser(LangBase + IDS_REGISTRY_TITLE, LangBase + text, MB_OK, MB_ICONSTOP, IDOK);
}

// The table file's bytes: it comes from a floppy disk, so it is small.
bool ReadTableFile(const wchar_t* path, std::string& bytes)
{
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), block, sizeof block, &read, nullptr) && read > 0)
        bytes.append(block, read);
    return true;
}

// Lines of 8-bit characters, tabs allowed: a table written as UTF-16 or a
// binary file would give the registry one-character or garbled entries.
bool IsText(const std::string& bytes)
{
    if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0)
        return false;
    for (unsigned char c : bytes) {
        if ((c < ' ' && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
            return false;
    }
    return true;
}

}  // namespace

int BuildChangerTable(const char* bytes, size_t count, wchar_t (&value)[kChangerTableChars])
{
    ChangerTable table(value);
    size_t start = 0;
    while (start < count) {
        size_t end = start;
        while (end < count && bytes[end] != '\n')
            ++end;
        std::string line(bytes + start, end - start);
        // Read as text: a carriage return before the line feed is not part
        // of the line.
        if (end < count && !line.empty() && line.back() == '\r')
            line.pop_back();
        if (!table.Add(line))
            break;
        start = end + 1;
    }
    return table.Finish();
}

bool WriteVsdLoadTable(const wchar_t* dir)
{
    wchar_t name[256];
    wchar_t path[kJoinedPathChars];
    LoadBankString(LangBase + IDS_FILENAME_VSDTABLE, name, std::size(name));
    bool pathFits = JoinPath(path, kJoinedPathChars, dir, name);

    RegistryKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, kChangerKey) != ERROR_SUCCESS) {
        Report(IDS_REGISTRY_CREATE);
        return false;
    }
    std::string bytes;
    if (!pathFits || !ReadTableFile(path, bytes)) {
        wchar_t text[1025];
        FormatBankString(text, std::size(text), LangBase + IDS_FILE_NOT_FOUND_TEXT, path);
        AskUser(LangBase + IDS_FILE_NOT_FOUND_TITLE, text, MB_OK, MB_ICONSTOP, IDOK);
        return false;
    }
    DeleteFileW(path);
    bytes.erase(std::min(bytes.find(kEndOfText), bytes.size()));
    if (!IsText(bytes)) {
        AskUser(LangBase + IDS_DRIVERS_TITLE, LangBase + IDS_DRIVERS_TEXT, MB_OK, MB_ICONSTOP, IDOK);
        return false;
    }

    wchar_t value[kChangerTableChars];
    int chars = BuildChangerTable(bytes.data(), bytes.size(), value);
    if (RegSetValueExW(key.get(), kChangerValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>(chars * sizeof value[0])) != ERROR_SUCCESS) {
        Report(IDS_REGISTRY_SET);
        return false;
    }
    if (key.CloseReporting() != ERROR_SUCCESS) {
        Report(IDS_REGISTRY_CLOSE);
        return false;
    }
    return true;
}
