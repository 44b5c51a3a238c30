#pragma once
// The Application event log. Each run reports its start, every question and
// message that it answered itself because of "/SMS:", and its end, so that
// an unattended run leaves the reason it did not complete where an
// administrator looks. Every event is the one message of setup's message
// table, "%1", with the whole text, in the bank's language, as its
// insertion string: Event Viewer shows the text whether or not the source
// is registered (only a completed install registers it), and no password is
// ever part of one.
#include <windows.h>

#include "shell/string_bank.h"

// The source that setup reports under.
constexpr wchar_t kEventSourceName[] = L"Tapewright Setup";

enum class EventKind { Information, Warning, Error };

// Reports `text`. A log that cannot be reached loses the event: the run
// goes on as it would without it.
void ReportSetupEvent(EventKind kind, const wchar_t* text);

// Reports a box or question that "/SMS:" kept from the screen: its title and
// text as they would have been shown, and the answer taken, named by its
// button's caption (a bank ID relative to LangBase). The icon gives the
// kind: the stop icon an error, the exclamation a warning.
void ReportUnattendedAnswer(TextRef title, TextRef text, UINT icon, UINT answerCaption);

// `caption` (a bank ID, absolute) as a word of a sentence: without the
// underline of its access key.
void LoadPlainCaption(UINT caption, wchar_t* buffer, size_t chars);
