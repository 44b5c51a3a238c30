#pragma once
// What the maintenance tests set up and look at: an installed product to
// remove, the deletions the system holds for the next restart, the loader
// disk and the changer drivers.
#include <windows.h>

#include <string>
#include <vector>

#include "support/registry_override.h"

// Where the installs of these tests go.
extern const std::wstring kProductDir;  // C:\TAPWRITE\NT\, with its backslash

// An unattended Backup Server install from the English share into
// kProductDir; fails the calling test when it does not complete.
#define INSTALL_BACKUP_SERVER() do { SCOPED_TRACE("INSTALL_BACKUP_SERVER"); InstallBackupServer(); } while (0)
void InstallBackupServer();

// The paths that the system is to delete at the next restart, in order,
// without their "\??\" prefix.
std::vector<std::wstring> PendingDeletions();

// Empties the pending file operations for a test and puts back what was
// there when it goes.
class PendingOperationsReset : public RegistryOverride {
public:
    PendingOperationsReset();
};

// The system's changer drivers directory, with its backslash.
std::wstring DriversDirectory();
