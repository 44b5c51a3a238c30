#pragma once
// Maintenance mode: what setup's installed copy offers when it is started
// with "/U:": the uninstall of the product, or the loader module.
#include <windows.h>

enum class MaintenanceResult {
    NotCompleted,   // cancelled, refused or failed: setup ends at once
    Completed,      // done: the window shows it until the user ends setup
    RestartFailed,  // the uninstall is done, the restart it asked for was
                    // refused (after its message)
    Restarting,     // the system is restarting: setup ends
};

// Offers the menu (or takes "/LDR:" or "/UNINSTALL:") and runs the task
// chosen.
MaintenanceResult RunMaintenance(HWND frame);
