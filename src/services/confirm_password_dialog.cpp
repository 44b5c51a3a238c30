// "Confirm Password": the password of an account about to be created, typed
// a second time.
#include <string.h>

#include <iterator>

#include "res/resource_ids.h"
#include "services/secret_edit.h"
#include "services/service_account.h"
#include "shell/dialog_text.h"
#include "shell/message_box.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/string_bank.h"

namespace {

struct ConfirmRequest {
    const wchar_t* password;
};

BOOL OnInitDialog(HWND dialog)
{
    CenterOnParent(dialog);
    SetDialogText(dialog, 0, LangBase + IDS_CONFIRM_CAPTION);
    SetDialogText(dialog, IDC_CONFIRM_TEXT, LangBase + IDS_CONFIRM_TEXT);
    SetDialogText(dialog, IDOK, LangBase + IDS_OK);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL);
    SendDlgItemMessageW(dialog, IDC_ACCOUNT_PASSWORD, EM_LIMITTEXT, kAccountPasswordChars, 0);
    return TRUE;
}

void OnOk(HWND dialog)
{
    wchar_t typed[kAccountPasswordChars + 1];
    GetDlgItemTextW(dialog, IDC_ACCOUNT_PASSWORD, typed, static_cast<int>(std::size(typed)));
    bool same = wcscmp(typed, DialogRequest<ConfirmRequest>(dialog)->password) == 0;
    SecureZeroMemory(typed, sizeof typed);
    if (same) {
        EndSecretDialog(dialog, IDC_ACCOUNT_PASSWORD, IDOK);
        return;
    }
    AskUser(LangBase + IDS_MISMATCH_TITLE, LangBase + IDS_MISMATCH_TEXT, MB_OK, MB_ICONSTOP, IDOK);
    HWND edit = GetDlgItem(dialog, IDC_ACCOUNT_PASSWORD);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    switch (LOWORD(command)) {
    case IDOK:
        OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndSecretDialog(dialog, IDC_ACCOUNT_PASSWORD, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool ConfirmPassword(HWND asker, const wchar_t* password)
{
    if (IsUnattended())
        return true;
    ConfirmRequest request = {password};
    return RunModalDialog(IDD_CONFIRM_PASSWORD, asker, DialogProcedure<OnInitDialog, OnCommand>, &request) ==
           DialogResult::Accepted;
}
