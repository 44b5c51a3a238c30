#include "support/event_recorder.h"

#include "shell/platform_calls.h"

namespace support {

namespace {

// One recorder at a time: the table's entries are plain functions.
EventRecorder* Active;
PlatformCalls Saved;
const auto kSource = reinterpret_cast<HANDLE>(0x5e7);

HANDLE WINAPI Register(LPCWSTR server, LPCWSTR source)
{
    if (!Active->reachable || server || lstrcmpW(source, L"Tapewright Setup") != 0) {
        SetLastError(RPC_S_SERVER_UNAVAILABLE);
        return nullptr;
    }
    ++Active->openSources;
    return kSource;
}

BOOL WINAPI Report(HANDLE source, WORD type, WORD, DWORD message, PSID, WORD count, DWORD, LPCWSTR* strings, LPVOID)
{
    Active->events.push_back({type, message, std::vector<std::wstring>(strings, strings + count)});
    return source == kSource;
}

BOOL WINAPI Deregister(HANDLE source)
{
    Active->openSources -= source == kSource;
    return source == kSource;
}

}  // namespace

EventRecorder::EventRecorder(bool reachable) : reachable(reachable)
{
    Active = this;
    Saved = Platform();
    Platform().RegisterEventSourceW = Register;
    Platform().ReportEventW = Report;
    Platform().DeregisterEventSource = Deregister;
}

EventRecorder::~EventRecorder()
{
    Platform() = Saved;
    Active = nullptr;
}

}  // namespace support
