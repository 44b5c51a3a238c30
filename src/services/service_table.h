#pragma once
// The product's services, and which of them the chosen install type
// installs. Read by the service control and the service installation.
#include <windows.h>

// A service name or display name holds at most this many characters.
constexpr int kServiceNameChars = 255;

// Bit of ServiceEntry::flags: set, the service shares a process
// (SERVICE_WIN32_SHARE_PROCESS); clear, it has one of its own. No other bit
// is read.
enum : UINT {
    kServiceSharesProcess = 1,
};

struct ServiceEntry {
    UINT executableId;   // installed name of its executable, relative to LangBase: its file-table row's
    UINT nameId;         // the name the Service Control Manager keeps it under
    UINT displayNameId;  // translated in some banks
    UINT flags;
};

extern const ServiceEntry kServiceTable[];
extern const int kServiceCount;

// True when the chosen install type installs the executable of `entry`.
bool InstallTypeHasService(const ServiceEntry& entry);
