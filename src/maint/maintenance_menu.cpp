// The maintenance menu: the loader module, the uninstall, or nothing.
#include "maint/maintenance_dialogs.h"

#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/setup_state.h"

namespace {

struct MenuRequest {
    MaintenanceChoice choice = MaintenanceChoice::Exit;
};

struct MenuText {
    int control;  // 0 is the caption
    UINT text;
};

const MenuText kMenuTexts[] = {
    {0, IDS_MENU_CAPTION},
    {IDC_MENU_LOADER, IDS_MENU_LOADER},
    {IDC_MENU_UNINSTALL, IDS_MENU_UNINSTALL},
    {IDCANCEL, IDS_CANCEL},
    {IDC_MENU_LOADER_TEXT, IDS_MENU_LOADER_TEXT},
    {IDC_MENU_UNINSTALL_TEXT, IDS_MENU_UNINSTALL_TEXT},
    {IDC_MENU_EXIT_TEXT, IDS_MENU_EXIT_TEXT},
};

BOOL OnInitDialog(HWND dialog)
{
    for (const MenuText& text : kMenuTexts)
        SetDialogText(dialog, text.control, LangBase + text.text);
    CenterOnParent(dialog);
    return TRUE;
}

BOOL Choose(HWND dialog, MaintenanceChoice choice)
{
    DialogRequest<MenuRequest>(dialog)->choice = choice;
    EndDialog(dialog, IDOK);
    return TRUE;
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    switch (LOWORD(command)) {
    case IDC_MENU_LOADER:
        return Choose(dialog, MaintenanceChoice::Loader);
    case IDC_MENU_UNINSTALL:
        return Choose(dialog, MaintenanceChoice::Uninstall);
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool MaintenanceChoiceFromOptions(MaintenanceChoice& choice)
{
    if (HasBankOption(IDS_OPT_LOADER))
        choice = MaintenanceChoice::Loader;
    else if (HasBankOption(IDS_OPT_UNINSTALL))
        choice = MaintenanceChoice::Uninstall;
    else
        return false;
    return true;
}

MaintenanceChoice ShowMaintenanceMenu(HWND owner)
{
    MaintenanceChoice chosen;
    if (MaintenanceChoiceFromOptions(chosen))
        return chosen;
    MenuRequest request;
    if (RunModalDialog(IDD_MAINTENANCE, owner, DialogProcedure<OnInitDialog, OnCommand>, &request) !=
        DialogResult::Accepted)
        return MaintenanceChoice::Exit;
    return request.choice;
}
