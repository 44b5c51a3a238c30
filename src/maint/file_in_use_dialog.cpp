// The question for a file of the product that is still in use: delete it
// at the next restart, leave it, do so for every such file, or cancel.
#include "maint/maintenance_dialogs.h"

#include <iterator>

#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/event_log.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

struct FileInUseRequest {
    const wchar_t* name;
    FileInUseAnswer answer = FileInUseAnswer::Cancel;
};

BOOL OnInitDialog(HWND dialog)
{
    SendDlgItemMessageW(dialog, IDC_IN_USE_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
    MessageBeep(MB_ICONQUESTION);
    SetDialogText(dialog, 0, LangBase + IDS_IN_USE_CAPTION);
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_IN_USE_QUESTION, DialogRequest<FileInUseRequest>(dialog)->name);
    SetDlgItemTextW(dialog, IDC_IN_USE_TEXT, text);
    SetDialogText(dialog, IDYES, LangBase + IDS_YES);
    SetDialogText(dialog, IDNO, LangBase + IDS_NO);
    SetDialogText(dialog, IDC_IN_USE_YES_TO_ALL, LangBase + IDS_YES_TO_ALL);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL);
    CenterOnParent(dialog);
    return TRUE;
}

BOOL Answer(HWND dialog, FileInUseAnswer answer)
{
    DialogRequest<FileInUseRequest>(dialog)->answer = answer;
    EndDialog(dialog, IDOK);
    return TRUE;
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    switch (LOWORD(command)) {
    case IDYES:
        return Answer(dialog, FileInUseAnswer::Yes);
    case IDNO:
        return Answer(dialog, FileInUseAnswer::No);
    case IDC_IN_USE_YES_TO_ALL:
        return Answer(dialog, FileInUseAnswer::YesToAll);
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

// Unattended, the question is answered Yes to All without being shown; the
// event log keeps the file's name.
void ReportYesToAll(const wchar_t* name)
{
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_IN_USE_QUESTION, name);
    ReportUnattendedAnswer(LangBase + IDS_IN_USE_CAPTION, text, MB_ICONQUESTION, IDS_YES_TO_ALL);
}

}  // namespace

FileInUseAnswer AskFileInUse(const wchar_t* name)
{
    if (IsUnattended()) {
        ReportYesToAll(name);
        return FileInUseAnswer::YesToAll;
    }
    if (HasBankOption(IDS_OPT_UNINSTALL))
        return FileInUseAnswer::YesToAll;
    FileInUseRequest request{name};
    if (RunModalDialog(IDD_FILE_IN_USE, DialogOwner, DialogProcedure<OnInitDialog, OnCommand>, &request) !=
        DialogResult::Accepted)
        return FileInUseAnswer::Cancel;
    return request.answer;
}
