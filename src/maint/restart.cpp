// The restart question and the restart. A token can accept the request to
// enable the shutdown privilege and still not hold it: the call then
// succeeds with ERROR_NOT_ALL_ASSIGNED, which is a refusal.
#include "maint/restart.h"

#include "maint/maintenance_dialogs.h"
#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/handles.h"
#include "shell/hooks.h"
#include "shell/message_box.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

struct RestartText {
    int control;  // 0 is the caption
    UINT text;
};

const RestartText kRestartTexts[] = {
    {0, IDS_RESTART_CAPTION},
    {IDC_RESTART_TEXT, IDS_RESTART_TEXT},
    {IDC_RESTART_QUESTION, IDS_RESTART_QUESTION},
    {IDOK, IDS_RESTART_NOW},
    {IDCANCEL, IDS_RESTART_LATER},
};

BOOL OnInitDialog(HWND dialog)
{
    for (const RestartText& text : kRestartTexts)
        SetDialogText(dialog, text.control, LangBase + text.text);
    CenterOnParent(dialog);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
    return FALSE;
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    switch (LOWORD(command)) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(command));
        return TRUE;
    default:
        return FALSE;
    }
}

void ReportNotPermitted()
{
    AskUser(LangBase + IDS_PRIVILEGE_TITLE, LangBase + IDS_RESTART_NOT_PERMITTED, MB_OK, MB_ICONSTOP, IDOK);
}

// True when the process token now holds the shutdown privilege enabled.
bool EnableShutdownPrivilege(const LUID& privilege)
{
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), MAXIMUM_ALLOWED, token.receive()))
        return false;
    TOKEN_PRIVILEGES wanted = {1, {{privilege, SE_PRIVILEGE_ENABLED}}};
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.get(), FALSE, &wanted, 0, nullptr, nullptr))
        return false;
    return GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

}  // namespace

bool AskRestart()
{
    if (HasBankOption(IDS_OPT_REBOOT))
        return true;
    if (HasBankOption(IDS_OPT_UNINSTALL))
        return false;
    return RunModalDialog(IDD_RESTART, DialogOwner, DialogProcedure<OnInitDialog, OnCommand>, nullptr) ==
           DialogResult::Accepted;
}

bool RestartWindows()
{
    LUID privilege;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privilege)) {
        ShowUnexpectedError(GetLastError());
        return false;
    }
    if (!EnableShutdownPrivilege(privilege)) {
        ReportNotPermitted();
        return false;
    }
    // The system asks setup's window whether the session may end before
    // the call has even returned.
    RestartRequested = true;
    if (RestartSystem(EWX_REBOOT, 0))
        return true;
    DWORD error = GetLastError();
    RestartRequested = false;
    ShowUnexpectedError(error);
    return false;
}
