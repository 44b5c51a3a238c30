#include "shell/string_bank.h"

#include <stdarg.h>
#include <wchar.h>

#include <iterator>

#include "shell/setup_state.h"

int LoadBankString(UINT id, wchar_t* buffer, size_t chars)
{
    if (chars == 0)
        return 0;
    buffer[0] = 0;
    int length = LoadStringW(Instance, id, buffer, static_cast<int>(chars));
    if (length <= 0) {
        buffer[0] = 0;
        return 0;
    }
    return length;
}

int LoadBankNumber(UINT id, int fallback)
{
    wchar_t text[32];
    if (LoadBankString(id, text, std::size(text)) == 0)
        return fallback;
    wchar_t* end = nullptr;
    long value = wcstol(text, &end, 10);
    return end == text ? fallback : static_cast<int>(value);
}

int FormatBankStringV(wchar_t* output, size_t chars, TextRef format, va_list args)
{
    if (chars == 0)
        return 0;
    BankText<256> formatText(format);
    // wvsprintfW writes at most 1024 characters and a terminator.
    wchar_t formatted[1025];
    int length = wvsprintfW(formatted, formatText.c_str(), args);
    if (length < 0)
        length = 0;
    formatted[length] = 0;
    if (static_cast<size_t>(length) > chars - 1)
        length = static_cast<int>(chars - 1);
    CopyMemory(output, formatted, length * sizeof(wchar_t));
    output[length] = 0;
    return length;
}

int FormatBankString(wchar_t* output, size_t chars, TextRef format, ...)
{
    va_list args;
    va_start(args, format);
    int length = FormatBankStringV(output, chars, format, args);
    va_end(args);
    return length;
}
