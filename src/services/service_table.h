#pragma once
// The product's services, and the walk over those that the chosen install
// type installs. Read by the service control and the service installation.
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

// An operation on one service; false ends the walk.
using ServiceOperation = bool (*)(const ServiceEntry& entry, const wchar_t* argument);

// Calls `operation` for each service, in table order, whose executable the
// chosen install type installs. True when every call gave true, else false
// at the first call that gave false.
bool ForEachService(ServiceOperation operation, const wchar_t* argument);

// True when the chosen install type installs the executable of `entry`.
bool InstallTypeHasService(const ServiceEntry& entry);

// Calls `operation(entry)` for each service of the install type, in table
// order, going on past a call that gives false. True when every call gave
// true.
template <typename Operation>
bool ForEveryService(Operation operation)
{
    bool every = true;
    for (int row = 0; row < kServiceCount; ++row)
        if (InstallTypeHasService(kServiceTable[row]) && !operation(kServiceTable[row]))
            every = false;
    return every;
}

// The row of `entry` in the table.
int ServiceRow(const ServiceEntry& entry);
