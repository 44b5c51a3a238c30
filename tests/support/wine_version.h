#pragma once
// Runs a test program as the Windows version that Wine reports to it. Wine
// reads it when a program starts, from value Version ("nt351", "win10"...) of
// HKCU\Software\Wine\AppDefaults\<program>.exe: the program sets that key
// for its own file name, runs itself again and removes the key after.
// Outside Wine the key means nothing and the tests run as the real system.
#include <functional>

// Returns the exit code of `run`, called in a process that reports `version`.
int RunAsWineVersion(const wchar_t* version, const std::function<int()>& run);
