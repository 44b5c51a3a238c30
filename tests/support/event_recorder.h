#pragma once
// Setup's event-log calls answered in this process: each event that setup
// reports is recorded instead, with its type and strings.
#include <windows.h>

#include <string>
#include <vector>

namespace support {

struct RecordedEvent {
    WORD type;
    DWORD message;
    std::vector<std::wstring> strings;
};

// Replaces the event-log entries of the platform-call table for its life,
// and puts the table back when it goes. With `reachable` false the log
// cannot be opened, as when the event log service is stopped.
class EventRecorder {
public:
    explicit EventRecorder(bool reachable = true);
    ~EventRecorder();
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    std::vector<RecordedEvent> events;
    int openSources = 0;  // opened and not closed again
    bool reachable;
};

}  // namespace support
