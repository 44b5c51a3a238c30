#pragma once
// What the maintenance tests look at: the deletions the system holds for
// the next restart, and the changer drivers' directory.
#include <string>
#include <vector>

// The paths that the system is to delete at the next restart, in order,
// without their "\??\" prefix.
std::vector<std::wstring> PendingDeletions();

// The system's changer drivers directory, with its backslash.
std::wstring DriversDirectory();
