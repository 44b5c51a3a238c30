#include "shell/event_log.h"

#include <iterator>

#include "res/event_messages.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"

namespace {

WORD EventType(EventKind kind)
{
    switch (kind) {
    case EventKind::Error:
        return EVENTLOG_ERROR_TYPE;
    case EventKind::Warning:
        return EVENTLOG_WARNING_TYPE;
    case EventKind::Information:
    default:
        return EVENTLOG_INFORMATION_TYPE;
    }
}

EventKind KindOfIcon(UINT icon)
{
    switch (icon) {
    case MB_ICONSTOP:
        return EventKind::Error;
    case MB_ICONEXCLAMATION:
        return EventKind::Warning;
    default:
        return EventKind::Information;
    }
}

}  // namespace

void ReportSetupEvent(EventKind kind, const wchar_t* text)
{
    EventSource source(Platform().RegisterEventSourceW(nullptr, kEventSourceName));
    if (!source)
        return;
    const wchar_t* strings[] = {text};
    Platform().ReportEventW(source.get(), EventType(kind), 0, MSG_SETUP_EVENT, nullptr,
                            static_cast<WORD>(std::size(strings)), 0, strings, nullptr);
}

void ReportUnattendedAnswer(TextRef title, TextRef text, UINT icon, UINT answerCaption)
{
    BankText<256> titleText(title);
    BankText<256> bodyText(text);
    wchar_t answer[32];
    LoadPlainCaption(LangBase + answerCaption, answer, std::size(answer));
    wchar_t answered[256];
    FormatBankString(answered, std::size(answered), LangBase + IDS_EVENT_ANSWERED, answer);
    // Joined here rather than formatted: a box's text alone may take all
    // that a format can produce.
    wchar_t event[2048];
    size_t used = 0;
    const wchar_t* const parts[] = {titleText.c_str(), L"\n\n", bodyText.c_str(), L"\n\n", answered};
    for (const wchar_t* part : parts) {
        lstrcpynW(event + used, part, static_cast<int>(std::size(event) - used));
        used += static_cast<size_t>(lstrlenW(event + used));
    }
    ReportSetupEvent(KindOfIcon(icon), event);
}

void LoadPlainCaption(UINT caption, wchar_t* buffer, size_t chars)
{
    wchar_t loaded[64];
    LoadBankString(caption, loaded, std::size(loaded));
    // "&&" stands for an ampersand that stays.
    size_t out = 0;
    for (const wchar_t* c = loaded; *c && out + 1 < chars; ++c) {
        if (*c == L'&' && *++c == 0)
            break;
        buffer[out++] = *c;
    }
    if (chars)
        buffer[out] = 0;
}
