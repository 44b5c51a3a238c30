#pragma once
// The autoloader module: the changer drivers go from the loader disk into
// the system's DRIVERS directory, and the changer table into the registry.
#include <windows.h>

// The key of the changer table, below HKEY_LOCAL_MACHINE.
constexpr wchar_t kChangerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\SCSIChanger";

// Installs the module from the loader disk. True when installed; false on
// a failure (after its message) or a confirmed cancel. The table expanded
// beside setup is gone at the end either way.
bool InstallLoaderModule();

// Copies every "*.VSD" driver of the source into the DRIVERS directory,
// looking in the source directory itself and, when it holds none, in its
// I386 subdirectory. True when at least one was found and all were
// installed.
bool InstallChangerDrivers();

// Copies the driver `from` to `to`; a driver already at `to` is kept under
// the first free backup name NAME.001 to NAME.999. True when the new driver
// is in place.
bool InstallDriverWithBackup(const wchar_t* from, const wchar_t* to);

// Writes the lines of the expanded changer table in `dir` into the registry
// and deletes the table file. A table that is not 8-bit text (UTF-16, a
// binary file) is refused and nothing is written. True when written; false
// after a message.
bool WriteVsdLoadTable(const wchar_t* dir);

// The longest changer table value, in characters, terminators included.
constexpr int kChangerTableChars = 2030;

// Makes the changer table value from the table file's `bytes`: the kept
// lines, each with its terminator, then a final terminator. Returns the
// number of characters written, terminators included.
int BuildChangerTable(const char* bytes, size_t count, wchar_t (&value)[kChangerTableChars]);
