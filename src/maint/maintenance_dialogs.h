#pragma once
// The questions of maintenance mode: the menu, the file in use, the restart.
// Each takes its answer from the command line where one is given there.
#include <windows.h>

enum class MaintenanceChoice { Loader, Uninstall, Exit };

// "/LDR:" chooses the loader, else "/UNINSTALL:" the uninstall; otherwise
// the menu, owned by `owner`, asks.
MaintenanceChoice ShowMaintenanceMenu(HWND owner);

// The task that "/LDR:" or "/UNINSTALL:" chooses; false when the menu is to
// ask.
bool MaintenanceChoiceFromOptions(MaintenanceChoice& choice);

enum class FileInUseAnswer { Yes, No, YesToAll, Cancel };

// Whether the file `name`, in use, is to be deleted at the next restart.
// "/UNINSTALL:" or "/SMS:" answers Yes to All.
FileInUseAnswer AskFileInUse(const wchar_t* name);

// True when the system is to restart now: "/REBOOT:" says so, else
// "/UNINSTALL:" says not; otherwise the restart dialog asks.
bool AskRestart();
