#include "progman/progman_commands.h"

#include "progman/dde_client.h"

namespace {

constexpr wchar_t kQuote = L'"';
constexpr wchar_t kNeedQuotes[] = L" ,()[]";
constexpr wchar_t kEndsField[] = L",()[]";
constexpr int kShowNormal = 5;

bool AppendField(std::wstring* command, const std::wstring& field)
{
    std::wstring formatted;
    if (!FormatField(field, &formatted))
        return false;
    *command += formatted;
    return true;
}

// "[CreateGroup(group,common)][ShowGroup(group,5,common)]"
bool AppendGroupPrefix(std::wstring* command, const std::wstring& group, int common)
{
    std::wstring name;
    if (!FormatField(group, &name))
        return false;
    const std::wstring flag = std::to_wstring(common);
    *command += L"[CreateGroup(" + name + L"," + flag + L")][ShowGroup(" + name + L"," +
                std::to_wstring(kShowNormal) + L"," + flag + L")]";
    return true;
}

bool FormatGroupItemCommand(const wchar_t* verb, const std::wstring& group, int common, const std::wstring& title,
                            std::wstring* command)
{
    std::wstring text;
    if (!AppendGroupPrefix(&text, group, common))
        return false;
    text += verb;
    if (!AppendField(&text, title))
        return false;
    text += L")]";
    *command = text;
    return true;
}

bool Execute(bool built, const std::wstring& command)
{
    return built && DdeExecute(command.c_str());
}

}  // namespace

bool FormatField(const std::wstring& field, std::wstring* out)
{
    if (field.find(kQuote) != std::wstring::npos)
        return false;
    if (field.find_first_of(kNeedQuotes) == std::wstring::npos)
        *out = field;
    else
        *out = kQuote + field + kQuote;
    return true;
}

bool FormatCommandLine(const std::wstring& exePath, const std::wstring& args, std::wstring* out)
{
    std::wstring line;
    if (!FormatField(exePath, &line))
        return false;
    if (!args.empty()) {
        bool quoted = false;
        for (wchar_t ch : args) {
            if (ch == kQuote)
                quoted = !quoted;
            else if (!quoted && wcschr(kEndsField, ch))
                return false;
        }
        if (quoted)
            return false;
        line += L" " + args;
    }
    *out = line;
    return true;
}

bool FormatDeleteGroup(const std::wstring& group, int common, std::wstring* command)
{
    std::wstring text = L"[DeleteGroup(";
    if (!AppendField(&text, group))
        return false;
    *command = text + L"," + std::to_wstring(common) + L")]";
    return true;
}

bool FormatDeleteItem(const std::wstring& group, int common, const std::wstring& title, std::wstring* command)
{
    return FormatGroupItemCommand(L"[DeleteItem(", group, common, title, command);
}

bool FormatReplaceItem(const std::wstring& group, int common, const std::wstring& title, std::wstring* command)
{
    return FormatGroupItemCommand(L"[ReplaceItem(", group, common, title, command);
}

// "[AddItem(command line,title,icon path,icon index,x,y,directory,hot key,minimize)]"
bool FormatAddItem(const std::wstring& group, int common, const std::wstring& exePath, const std::wstring& workDir,
                   const std::wstring& args, const std::wstring& title, int iconIndex, int minimize,
                   std::wstring* command)
{
    std::wstring text;
    std::wstring line;
    if (!AppendGroupPrefix(&text, group, common) || !FormatCommandLine(exePath, args, &line))
        return false;
    text += L"[AddItem(" + line + L",";
    if (!AppendField(&text, title))
        return false;
    text += L",";
    if (!AppendField(&text, exePath))
        return false;
    text += L"," + std::to_wstring(iconIndex) + L",,,";
    if (!AppendField(&text, workDir))
        return false;
    text += L",," + std::to_wstring(minimize) + L")]";
    *command = text;
    return true;
}

bool PmDeleteGroup(const std::wstring& group, int common)
{
    std::wstring command;
    return Execute(FormatDeleteGroup(group, common, &command), command);
}

bool PmDeleteItem(const std::wstring& group, int common, const std::wstring& title)
{
    std::wstring command;
    return Execute(FormatDeleteItem(group, common, title, &command), command);
}

bool PmReplaceAndAddItem(const std::wstring& group, int common, const std::wstring& exePath,
                         const std::wstring& workDir, const std::wstring& args, const std::wstring& title,
                         int iconIndex, int minimize)
{
    std::wstring replace;
    if (FormatReplaceItem(group, common, title, &replace))
        DdeExecute(replace.c_str());
    std::wstring add;
    return Execute(FormatAddItem(group, common, exePath, workDir, args, title, iconIndex, minimize, &add), add);
}
