#pragma once
// Runs a test program as the Windows version that Wine reports to it. Wine
// reads the version of a program when the program starts, from
// HKCU\Software\Wine\AppDefaults\<program>.exe, value Version ("nt351",
// "win10"...), so the program sets that key for its own file name, starts
// itself again with the same command line, and removes the key when the
// second run ends. Outside Wine the key means nothing and the tests run as
// the real system.
#include <functional>

// Returns the exit code of `run`, called in a process that reports
// `version`.
int RunAsWineVersion(const wchar_t* version, const std::function<int()>& run);
