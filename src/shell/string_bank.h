#pragma once
// Texts of the string banks, and texts given either as a string or as the
// ID of a bank string.
#include <windows.h>

// A text, or the absolute ID of a string to load from the banks. Any value
// from 1 to 65535 is an ID.
class TextRef {
public:
    TextRef(const wchar_t* text) : text_(text) {}
    TextRef(UINT id) : text_(MAKEINTRESOURCEW(id)) {}
    bool IsId() const { return IS_INTRESOURCE(text_); }
    UINT Id() const { return static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text_)); }
    const wchar_t* Text() const { return text_; }

private:
    const wchar_t* text_;
};

// A text resolved into its own buffer of `Chars` characters: a bank
// string is cut to fit with its terminator.
template <int Chars>
class BankText {
public:
    explicit BankText(TextRef ref);
    const wchar_t* c_str() const { return text_; }
    int Length() const { return lstrlenW(text_); }

private:
    wchar_t buffer_[Chars];
    const wchar_t* text_;
};

// Loads string `id` (absolute) into `buffer` of `chars` characters, cut to
// fit with its terminator. A missing ID loads an empty string. Returns the
// number of characters loaded.
int LoadBankString(UINT id, wchar_t* buffer, size_t chars);

// Reads the decimal number held by string `id`; `fallback` when it holds none.
int LoadBankNumber(UINT id, int fallback);

// Formats like wvsprintfW (its output is at most 1024 characters) with a
// bank string or text as the format into `output` of `chars` characters, cut
// to fit with its terminator. Returns the length written.
int FormatBankString(wchar_t* output, size_t chars, TextRef format, ...);
int FormatBankStringV(wchar_t* output, size_t chars, TextRef format, va_list args);

template <int Chars>
BankText<Chars>::BankText(TextRef ref) : text_(buffer_)
{
    buffer_[0] = 0;
    if (ref.IsId())
        LoadBankString(ref.Id(), buffer_, Chars);
    else if (ref.Text())
        text_ = ref.Text();
}
