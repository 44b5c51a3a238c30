#pragma once
// What the uninstall tests look at: the deletions the system holds for the
// next restart.
#include <string>
#include <vector>

namespace support {

// The paths that the system is to delete at the next restart, in order,
// without their "\??\" prefix.
std::vector<std::wstring> PendingDeletions();

}  // namespace support
