#include "shell/options.h"

#include <wchar.h>
#include <wctype.h>

#include "res/resource_ids.h"
#include "shell/setup_state.h"

namespace {

// Where the option's text starts in the command line, or null.
const wchar_t* FindOption(const wchar_t* commandLine, TextRef option)
{
    if (!commandLine || !*commandLine)
        return nullptr;
    BankText<256> text(option);
    // A missing bank string must not count as an option found everywhere.
    if (text.Length() == 0)
        return nullptr;
    const wchar_t* found = wcsstr(commandLine, text.c_str());
    return found;
}

// Whether a double quote opened before `position` is still open there: the
// whole argument was quoted ("/DEST:C:\A B", as deployment tools write it).
bool InsideQuotes(const wchar_t* commandLine, const wchar_t* position)
{
    bool open = false;
    for (const wchar_t* c = commandLine; c < position; ++c) {
        if (*c == L'"')
            open = !open;
    }
    return open;
}

}  // namespace

bool HasOption(const wchar_t* commandLine, TextRef option)
{
    return FindOption(commandLine, option) != nullptr;
}

bool HasHelpOption(const wchar_t* commandLine)
{
    if (!commandLine)
        return false;
    const size_t length = wcslen(kHelpOption);
    for (const wchar_t* found = wcsstr(commandLine, kHelpOption); found; found = wcsstr(found + 1, kHelpOption)) {
        const bool wordStart = found == commandLine || iswspace(found[-1]);
        const bool wordEnd = found[length] == 0 || iswspace(found[length]);
        if (wordStart && wordEnd && !InsideQuotes(commandLine, found))
            return true;
    }
    return false;
}

bool GetOptionArgument(wchar_t* buffer, size_t chars, const wchar_t* commandLine,
                       TextRef option)
{
    const wchar_t* found = FindOption(commandLine, option);
    if (!found)
        return false;
    BankText<256> text(option);
    const wchar_t* start = found + text.Length();
    wchar_t terminator = L' ';
    if (InsideQuotes(commandLine, found)) {
        terminator = L'"';
    } else if (*start == L'"') {
        ++start;
        terminator = L'"';
    }
    const wchar_t* end = wcschr(start, terminator);
    size_t length = end ? static_cast<size_t>(end - start) : wcslen(start);
    if (length + 1 > chars)
        return false;
    wmemcpy(buffer, start, length);
    buffer[length] = 0;
    return true;
}

bool HasBankOption(UINT relativeId)
{
    return HasOption(CommandLine, LangBase + relativeId);
}

bool IsUnattended()
{
    return HasBankOption(IDS_OPT_UNATTENDED);
}
