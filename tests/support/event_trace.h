#pragma once
// The events that the shipping setup.exe reports, read from Wine's debug
// output: Wine's event log keeps nothing, but with its "eventlog" channel on
// it writes each string of a reported event to the program's Unix error
// output, in a line whose class (trace, warn, err) tells the event's type.
#include <windows.h>

#include <string>
#include <vector>

namespace support {

struct TracedEvent {
    WORD type;          // EVENTLOG_INFORMATION_TYPE, _WARNING_TYPE or _ERROR_TYPE
    std::wstring text;  // Wine writes about the first 300 characters

    bool operator==(const TracedEvent& other) const { return type == other.type && text == other.text; }
};

// Runs the setup.exe `program` with `arguments` (separated by spaces, none
// quoted) under Wine with the event-log channel on; the events it reported
// once it has ended, none when it did not end within 15 s.
std::vector<TracedEvent> RunTracingEvents(const std::wstring& program, const std::wstring& arguments);

}  // namespace support
