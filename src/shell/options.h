#pragma once
// The command-line model: an option is a text found anywhere in the command
// line, case-sensitively; its argument is the text right after it, up to the
// next space or between double quotes. An option inside a quoted argument
// ("/DEST:C:\A B") has the rest of that argument, up to its closing quote.
#include <stddef.h>

#include "shell/string_bank.h"

// The language option. The program's own literal, not a bank string: it is
// read before any bank is chosen.
constexpr wchar_t kLanguageOption[] = L"/L:";

// The request for the list of options. A literal too: it must be answered
// in a language the command line may not name.
constexpr wchar_t kHelpOption[] = L"/?";

bool HasOption(const wchar_t* commandLine, TextRef option);

// "/?" is on the command line as a word of its own, outside quotes: a
// password or path that holds the two characters does not turn an install
// into a run that does nothing and ends as completed.
bool HasHelpOption(const wchar_t* commandLine);

// Copies the option's argument into `buffer` and returns true; returns false,
// leaving the buffer as it was, when the option is absent or the argument
// and its terminator do not fit in `chars` characters.
bool GetOptionArgument(wchar_t* buffer, size_t chars, const wchar_t* commandLine, TextRef option);

// HasOption on the process command line for a bank option, given relative to
// LangBase.
bool HasBankOption(UINT relativeId);

// "/SMS:" is on the command line: questions take their preset answers.
bool IsUnattended();
