// "Specify Directory": the product directory, checked against the drive it
// names and created before anything is copied.
#include <wchar.h>

#include <initializer_list>

#include "flow/destination.h"
#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The dialog's path while it is open; later edit notifications are ignored.
wchar_t* EditedPath;

// Enters `directory`, or creates it when it cannot be entered.
bool EnterOrCreate(const wchar_t* directory)
{
    return SetCurrentDirectoryW(directory) || CreateDirectoryW(directory, nullptr);
}

void RefuseEntry(HWND dialog, UINT title, UINT text, UINT icon)
{
    AskUser(LangBase + title, LangBase + text, MB_OK, icon, IDOK);
    HWND edit = GetDlgItem(dialog, IDC_DEST_EDIT);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

BOOL OnInitDialog(HWND dialog, wchar_t* path)
{
    CenterOnParent(dialog);
    EditedPath = path;
    HWND edit = GetDlgItem(dialog, IDC_DEST_EDIT);
    SendMessageW(edit, EM_LIMITTEXT, 254, 0);
    SetWindowTextW(edit, path);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    CheckDlgButton(dialog, IDC_DEST_COMMON, BST_UNCHECKED);
    SetDialogText(dialog, 0, LangBase + IDS_DEST_CAPTION);
    SetDialogText(dialog, IDC_DEST_TEXT, LangBase + IDS_DEST_TEXT);
    SetDialogText(dialog, IDC_DEST_COMMON, LangBase + IDS_DEST_COMMON);
    SetDialogText(dialog, IDOK, LangBase + IDS_OK);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL);
    ShowInfoWindow(false);
    SetFocus(edit);
    return FALSE;
}

void OnEditChange(HWND dialog)
{
    if (!EditedPath)
        return;
    GetDlgItemTextW(dialog, IDC_DEST_EDIT, EditedPath, 255);
    EnableWindow(GetDlgItem(dialog, IDOK), EditedPath[0] != 0);
}

void OnOk(HWND dialog)
{
    GetDlgItemTextW(dialog, IDC_DEST_EDIT, EditedPath, 255);
    CommonGroup = IsDlgButtonChecked(dialog, IDC_DEST_COMMON) == BST_CHECKED;
    if (!IsLocalFixedDrive(EditedPath)) {
        RefuseEntry(dialog, IDS_WARNING_TITLE, IDS_NOT_FIXED_DRIVE, MB_ICONEXCLAMATION);
        return;
    }
    switch (PrepareDestination(EditedPath)) {
    case kDestinationReady:
        AppendBackslash(EditedPath, kPathChars);
        EditedPath = nullptr;
        EndDialog(dialog, 1);
        return;
    case kDestinationNoSpace: {
        wchar_t message[1025];
        FormatBankString(message, 1025, LangBase + IDS_NO_SPACE_TEXT, EditedPath, EditedPath);
        AskUser(LangBase + IDS_NO_SPACE_TITLE, message, MB_OK, MB_ICONSTOP, IDOK);
        RequestProgramEnd(1);
        EditedPath = nullptr;
        EndDialog(dialog, 0);
        return;
    }
    case kDestinationNotCreated:
        RefuseEntry(dialog, IDS_CREATE_PATH_TITLE, IDS_CREATE_PATH_TEXT, MB_ICONEXCLAMATION);
        return;
    default:
        RefuseEntry(dialog, IDS_BAD_PATH_TITLE, IDS_BAD_PATH_TEXT, MB_ICONEXCLAMATION);
        return;
    }
}

void OnCancel(HWND dialog)
{
    if (!ConfirmCancel())
        return;
    RequestProgramEnd(1);
    EditedPath = nullptr;
    EndDialog(dialog, 0);
}

BOOL OnCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDC_DEST_EDIT:
        OnEditChange(dialog);
        return TRUE;
    case IDOK:
        OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        OnCancel(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK DestinationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<wchar_t*>(lParam));
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    default:
        return FALSE;
    }
}

}  // namespace

bool IsLocalFixedDrive(const wchar_t* path)
{
    if (!path || !path[0] || path[1] != L':')
        return false;
    wchar_t root[4] = {path[0], L':', L'\\', 0};
    return GetDriveTypeW(root) == DRIVE_FIXED;
}

ULONGLONG FreeKilobytes(const wchar_t* path)
{
    wchar_t root[4];
    lstrcpynW(root, path, 4);
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0;
    return static_cast<ULONGLONG>(freeClusters) * sectorsPerCluster * bytesPerSector / 1024;
}

int PrepareDestination(wchar_t* path)
{
    if (!path || !path[0] || wcschr(path, L' '))
        return kDestinationInvalid;

    // A path without a drive or directory is taken relative to the Windows
    // directory.
    wchar_t windows[kPathChars];
    UINT windowsLength = GetWindowsDirectoryW(windows, kPathChars);
    if (windowsLength > 0 && windowsLength < kPathChars) {
        wchar_t drive[3] = {windows[0], L':', 0};
        SetCurrentDirectoryW(drive);
        SetCurrentDirectoryW(windows);
    }

    wchar_t absolute[255];
    DWORD length = GetFullPathNameW(path, 255, absolute, nullptr);
    if (length == 0 || length >= 255)
        return kDestinationInvalid;
    lstrcpynW(path, absolute, kPathChars);

    ULONGLONG required = static_cast<ULONGLONG>(LoadBankNumber(IDS_TOTAL_KILOBYTES, 0));
    if (FreeKilobytes(path) < required)
        return kDestinationNoSpace;

    // Every level from the root down, then the whole path.
    wchar_t level[kPathChars];
    const wchar_t* rootEnd = wcschr(path, L'\\');
    for (const wchar_t* cut = rootEnd ? wcschr(rootEnd + 1, L'\\') : nullptr; cut; cut = wcschr(cut + 1, L'\\')) {
        lstrcpynW(level, path, static_cast<int>(cut - path) + 1);
        if (!EnterOrCreate(level))
            return kDestinationNotCreated;
    }
    if (!EnterOrCreate(path))
        return kDestinationNotCreated;

    wchar_t subdirectory[kPathChars];
    wchar_t name[kPathChars];
    lstrcpynW(level, path, kPathChars);
    if (!AppendBackslash(level, kPathChars))
        return kDestinationNotCreated;
    for (UINT id : {IDS_DATA_DIRECTORY, IDS_CATALOG_DIRECTORY}) {
        LoadBankString(LangBase + id, name, kPathChars - 1);
        if (!JoinPath(subdirectory, kPathChars, level, name) || !EnterOrCreate(subdirectory))
            return kDestinationNotCreated;
    }
    return kDestinationReady;
}

int ChooseDestination(HWND frame, wchar_t* path)
{
    if (!HasBankOption(IDS_OPT_DESTINATION)) {
        INT_PTR result = DialogBoxParamW(Instance, MAKEINTRESOURCEW(IDD_DESTINATION), frame, DestinationDialogProc,
                                         reinterpret_cast<LPARAM>(path));
        return result == 1 ? 1 : 0;
    }
    if (!GetOptionArgument(path, kPathChars * sizeof(wchar_t), CommandLine, LangBase + IDS_OPT_DESTINATION))
        return 2;
    PrepareDestination(path);
    AppendBackslash(path, kPathChars);
    return 1;
}
