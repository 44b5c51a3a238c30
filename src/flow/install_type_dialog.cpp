// The install-type choice: Backup Server, Remote Admin or JobScope Only.
// A user without administrator rights can only install JobScope.
#include <initializer_list>

#include "flow/install_type.h"
#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

struct InstallChoice {
    int button;
    UINT option;
    DWORD installType;
    DWORD setupMode;
};

// In the order the command-line options are looked at.
const InstallChoice kChoices[] = {
    {IDC_TYPE_BACKUP, IDS_OPT_BACKUP_SERVER, kInstallBackupServer, kModeFullInstall},
    {IDC_TYPE_REMOTE, IDS_OPT_REMOTE_ADMIN, kInstallRemoteAdmin, kModeFullInstall},
    {IDC_TYPE_JOBSCOPE, IDS_OPT_JOBSCOPE_ONLY, kInstallJobScopeOnly, kModeJobScopeInstall},
};

// Controls whose texts come from the bank, IDs 404 to 411 in this order.
const int kTextControls[] = {
    0, IDC_TYPE_BACKUP, IDC_TYPE_REMOTE, IDC_TYPE_JOBSCOPE,
    IDC_TYPE_BACKUP_TEXT, IDC_TYPE_REMOTE_TEXT, IDC_TYPE_JOBSCOPE_TEXT, IDC_TYPE_QUIT_TEXT,
};

// What the install-type dialog answers on OK: the row of kChoices chosen.
struct InstallTypeRequest {
    const InstallChoice* choice = nullptr;
};

// The first row whose option the command line holds; null for none.
const InstallChoice* ChoiceFromOptions()
{
    for (const InstallChoice& choice : kChoices) {
        if (HasBankOption(choice.option))
            return &choice;
    }
    return nullptr;
}

bool Apply(const InstallChoice& choice, DWORD& installType)
{
    installType = choice.installType;
    SetupMode = choice.setupMode;
    return true;
}

void SetTexts(HWND dialog)
{
    for (int i = 0; i < static_cast<int>(sizeof kTextControls / sizeof kTextControls[0]); ++i)
        SetDialogText(dialog, kTextControls[i], LangBase + IDS_TYPE_CAPTION + i, 255);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL, 255);
}

BOOL OnInitDialog(HWND dialog)
{
    CenterOnParent(dialog);
    if (!IsAdmin) {
        EnableWindow(GetDlgItem(dialog, IDC_TYPE_BACKUP), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_TYPE_REMOTE), FALSE);
    }
    SetTexts(dialog);
    // The focus, and with it Enter, goes to the first button that can be used.
    for (int id : {IDC_TYPE_BACKUP, IDC_TYPE_REMOTE, IDC_TYPE_JOBSCOPE, IDCANCEL}) {
        HWND button = GetDlgItem(dialog, id);
        if (IsWindowEnabled(button)) {
            SendMessageW(dialog, DM_SETDEFID, id, 0);
            SetFocus(button);
            break;
        }
    }
    return FALSE;
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    int id = LOWORD(command);
    for (const InstallChoice& choice : kChoices) {
        if (choice.button == id) {
            DialogRequest<InstallTypeRequest>(dialog)->choice = &choice;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

DWORD InstallTypeFromOptions()
{
    const InstallChoice* chosen = ChoiceFromOptions();
    return chosen ? chosen->installType : 0;
}

bool ChooseInstallType(HWND frame, DWORD& installType)
{
    if (const InstallChoice* chosen = ChoiceFromOptions())
        return Apply(*chosen, installType);
    InstallTypeRequest request;
    if (RunModalDialog(IDD_INSTALL_TYPE, frame, DialogProcedure<OnInitDialog, OnCommand>, &request) !=
        DialogResult::Accepted)
        return false;
    return Apply(*request.choice, installType);
}
