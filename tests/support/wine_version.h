#pragma once
// Runs a test program as the Windows version Wine reports to it, read when a
// program starts from HKCU\Software\Wine\AppDefaults\<program>.exe, value
// Version ("nt351", "win10"...): the program sets that key, runs itself again
// and removes the key after. Elsewhere the tests run as the real system.
#include <functional>

namespace support {

// Returns the exit code of `run`, called in a process that reports `version`.
int RunAsWineVersion(const wchar_t* version, const std::function<int()>& run);

}  // namespace support
