#pragma once
// The one list of every file that setup installs. Read by the copy driver,
// the destination checks, the program group, the services and the uninstall.
#include <windows.h>

#include "shell/setup_state.h"

enum : UINT {
    kDestinationProduct = 1,
    kDestinationWindows = 2,
    kDestinationSystem = 3,
};

enum : UINT {
    kFileCompressed = 1,
    kFileHasItem = 4,
};

// Install-type masks of the rows.
enum : UINT {
    kEveryInstallType = kInstallBackupServer | kInstallJobScopeOnly | kInstallRemoteAdmin,
    kServerInstallTypes = kInstallBackupServer | kInstallRemoteAdmin,
};

// The title and arguments of a row without an item.
enum : UINT {
    kNoItemTitle = 0,
    kNoItemArgs = 0,
};

// Places of the items in the program group, 0 first.
enum : int {
    kNoItem = -1,
    kItemOrderTapewright = 0,
    kItemOrderJobScope = 1,
    kItemOrderSetup = 2,
    kItemOrderReadme = 3,
    kItemOrderHelp = 4,
};

struct FileEntry {
    UINT compressedNameId;  // name on the source disk, relative to LangBase
    UINT installedNameId;   // name as installed, relative to LangBase
    UINT destination;
    UINT itemTitleId;       // Program Manager item title; 0 without an item
    int itemOrder;          // the item's place in the group; -1 without one
    UINT flags;
    UINT itemArgsId;        // selects the item's arguments; 0 for none
    UINT installTypes;      // mask of InstallType bits
};

extern const FileEntry kFileTable[];
extern const int kFileCount;
