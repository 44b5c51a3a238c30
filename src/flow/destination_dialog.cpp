// "Specify Directory", or "/DEST:" in its place: the product directory is
// accepted only once it passes the checks and exists with its DATA and
// CATALOGS subdirectories. "/DEST:" skips the dialog, not the checks.
#include <wchar.h>

#include <iterator>

#include "flow/destination.h"
#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/message_box.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The longest path the edit field takes: the absolute form must still fit
// the 255 characters it is expanded into.
constexpr int kEditedPathChars = 254;

// What the destination dialog starts from, and on OK what it accepted.
struct DestinationRequest {
    wchar_t path[kPathChars];  // shown first; on OK the accepted directory
    bool commonGroup = false;  // the check box's state: first "/COMMON:", on OK the user's
};

enum class Verdict {
    Accepted,   // ready, with a trailing backslash
    TryAgain,   // the user was told what is wrong with the path
    EndInstall, // the drive has not enough room: the install cannot go on
};

void Tell(UINT title, UINT text, UINT icon)
{
    AskUser(LangBase + title, LangBase + text, MB_OK, icon, IDOK);
}

// Checks and prepares `path` as the product directory, telling the user
// what is wrong with it.
Verdict CheckDestination(wchar_t* path)
{
    if (!path[0]) {
        Tell(IDS_BAD_PATH_TITLE, IDS_BAD_PATH_TEXT, MB_ICONEXCLAMATION);
        return Verdict::TryAgain;
    }
    if (!IsLocalFixedDrive(path)) {
        Tell(IDS_WARNING_TITLE, IDS_NOT_FIXED_DRIVE, MB_ICONEXCLAMATION);
        return Verdict::TryAgain;
    }
    switch (PrepareDestination(path)) {
    case DestinationResult::Ready:
        AppendBackslash(path, kPathChars);
        return Verdict::Accepted;
    case DestinationResult::NoSpace: {
        wchar_t message[1025];
        FormatBankString(message, std::size(message), LangBase + IDS_NO_SPACE_TEXT, path, path);
        AskUser(LangBase + IDS_NO_SPACE_TITLE, message, MB_OK, MB_ICONSTOP, IDOK);
        return Verdict::EndInstall;
    }
    case DestinationResult::NotCreated:
        Tell(IDS_CREATE_PATH_TITLE, IDS_CREATE_PATH_TEXT, MB_ICONEXCLAMATION);
        return Verdict::TryAgain;
    case DestinationResult::Invalid:
        break;
    }
    Tell(IDS_BAD_PATH_TITLE, IDS_BAD_PATH_TEXT, MB_ICONEXCLAMATION);
    return Verdict::TryAgain;
}

BOOL OnInitDialog(HWND dialog)
{
    auto request = DialogRequest<DestinationRequest>(dialog);
    CenterOnParent(dialog);
    HWND edit = GetDlgItem(dialog, IDC_DEST_EDIT);
    SendMessageW(edit, EM_LIMITTEXT, kEditedPathChars, 0);
    SetWindowTextW(edit, request->path);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    CheckDlgButton(dialog, IDC_DEST_COMMON, request->commonGroup ? BST_CHECKED : BST_UNCHECKED);
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
    EnableWindow(GetDlgItem(dialog, IDOK), GetWindowTextLengthW(GetDlgItem(dialog, IDC_DEST_EDIT)) > 0);
}

void OnOk(HWND dialog)
{
    wchar_t candidate[kPathChars];
    GetDlgItemTextW(dialog, IDC_DEST_EDIT, candidate, kEditedPathChars + 1);
    switch (CheckDestination(candidate)) {
    case Verdict::Accepted: {
        auto request = DialogRequest<DestinationRequest>(dialog);
        lstrcpynW(request->path, candidate, kPathChars);
        request->commonGroup = IsDlgButtonChecked(dialog, IDC_DEST_COMMON) == BST_CHECKED;
        EndDialog(dialog, IDOK);
        return;
    }
    case Verdict::EndInstall:
        EndDialog(dialog, IDCANCEL);
        return;
    case Verdict::TryAgain: {
        HWND edit = GetDlgItem(dialog, IDC_DEST_EDIT);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return;
    }
    }
}

void OnCancel(HWND dialog)
{
    if (ConfirmCancel())
        EndDialog(dialog, IDCANCEL);
}

BOOL OnCommand(HWND dialog, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDC_DEST_EDIT:
        if (HIWORD(wParam) == EN_CHANGE)
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

// "/DEST:" is the user's answer to the dialog, so it must pass the dialog's
// checks; a directory that fails them is never replaced by another.
bool TakeDestinationOption(wchar_t* path)
{
    wchar_t candidate[kPathChars];
    if (!GetOptionArgument(candidate, std::size(candidate), CommandLine, LangBase + IDS_OPT_DESTINATION) ||
        lstrlenW(candidate) > kEditedPathChars) {
        Tell(IDS_BAD_PATH_TITLE, IDS_BAD_PATH_TEXT, MB_ICONEXCLAMATION);
        return false;
    }
    if (CheckDestination(candidate) != Verdict::Accepted)
        return false;
    lstrcpynW(path, candidate, kPathChars);
    return true;
}

}  // namespace

bool ChooseDestination(HWND frame, wchar_t* path)
{
    // "/COMMON:" stands for the check box as "/DEST:" for the path: an
    // unattended install run by a service account can put the group where
    // every user sees it, rather than in that account's own profile.
    const bool commonOption = HasBankOption(IDS_OPT_COMMON);
    if (HasBankOption(IDS_OPT_DESTINATION)) {
        if (!TakeDestinationOption(path))
            return false;
        CommonGroup = commonOption;
        return true;
    }
    DestinationRequest request;
    lstrcpynW(request.path, path, kPathChars);
    request.commonGroup = commonOption;
    if (RunModalDialog(IDD_DESTINATION, frame, DialogProcedure<OnInitDialog, OnCommand>, &request) !=
        DialogResult::Accepted)
        return false;
    lstrcpynW(path, request.path, kPathChars);
    CommonGroup = request.commonGroup;
    return true;
}
