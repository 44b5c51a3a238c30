#pragma once
// The product's program group: built at the end of an install, deleted by
// the uninstall.
#include <windows.h>

// Title of the item that an older version put in the group.
constexpr wchar_t kOldItemTitle[] = L"Tapewright Monitor";

// Builds or updates the group in the product directory DestinationPath. True
// after building it (an item may still have been refused), false when
// Program Manager did not answer: then nothing is shown and nothing is
// changed.
bool CreateProgramGroup(HINSTANCE instance);

// The visible windows titled as the group. Program Manager may show them
// some time after it has acknowledged the commands: a shell may open one
// from another process for each command, over a few seconds.
int GroupWindowsShown();

// Waits, the windows alive, until more group windows than `shownBefore` are
// shown and no other has come for kGroupWindowsSettledMs (for
// kGroupWindowFirstMs while none has come), at most kGroupWindowsWaitMs or
// until a cancel is confirmed. Returns how many came.
constexpr DWORD kGroupWindowFirstMs = 3000;
constexpr DWORD kGroupWindowsSettledMs = 1500;
constexpr DWORD kGroupWindowsWaitMs = 15000;
int WaitForGroupWindows(int shownBefore);

// Brings `frame` back over the group windows that Program Manager opened,
// for the person watching. An unattended run, which ends at once, leaves it
// where it is: the activation visits every top-level window, tenths of a
// second with the window held once the group windows are open.
void RaiseOverGroupWindows(HWND frame);

// Removes the older version's item, then adds the items of the install
// type's files in their order, each replacing an item of its title. An item
// refused does not stop the others; a confirmed cancel does. False when an
// item failed or the user cancelled, else true. `dir` ends with a backslash.
bool AddGroupItems(const wchar_t* dir);

// One item: the file `exeNameId` in `dir`, titled `titleId`, in the group
// `groupId`; `argsId` is LangBase + the maintenance option for the setup
// item, else 0 (absolute string IDs). The result of the command, false also
// on a confirmed cancel.
bool AddGroupItem(const wchar_t* dir, UINT groupId, UINT titleId, UINT exeNameId, UINT argsId);

// Deletes the personal group, then a common one. True when either was
// deleted; false when neither was, or Program Manager did not answer.
bool RemoveProgramGroup(HINSTANCE instance);
