// Language selection: a dialog with a radio button per offered language,
// preselected from the regional settings; the setup window's texts follow
// each click at once.
#include <wchar.h>

#include <iterator>

#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/language.h"
#include "shell/message_loop.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/setup_window.h"
#include "shell/string_bank.h"

namespace {

// What the language dialog answers on OK.
struct LanguageRequest {
    int index = 0;  // the language chosen, 0 English ... 5 Italian
};

int OfferedLanguages()
{
    return LoadBankNumber(IDS_LANGUAGES_OFFERED, 1);
}

int LanguageButtons()
{
    return LoadBankNumber(IDS_LANGUAGE_BUTTONS, IDC_LANGUAGE_COUNT);
}

void LabelButtons(HWND dialog)
{
    SetDialogText(dialog, IDOK, LangBase + IDS_OK, 31);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL, 31);
}

// With fewer languages than buttons the dialog ends below the first unused
// button's slot, which stays as a margin (at least three rows are kept).
void ShortenDialog(HWND dialog, int offered)
{
    int rows = offered > 3 ? offered : 3;
    if (rows >= LanguageButtons())
        return;
    HWND margin = GetDlgItem(dialog, IDC_LANGUAGE_FIRST + rows);
    if (!margin)
        return;
    RECT box;
    RECT slot;
    GetWindowRect(dialog, &box);
    GetWindowRect(margin, &slot);
    SetWindowPos(dialog, nullptr, 0, 0, box.right - box.left, slot.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL OnInitDialog(HWND dialog)
{
    CenterOnParent(dialog);
    int offered = OfferedLanguages();
    for (int i = 0; i < offered && i < IDC_LANGUAGE_COUNT; ++i) {
        wchar_t name[128];
        LoadBankString(IDS_LANGUAGE_NAME + i, name, std::size(name));
        SetDlgItemTextW(dialog, IDC_LANGUAGE_FIRST + i, name);
        ShowWindow(GetDlgItem(dialog, IDC_LANGUAGE_FIRST + i), SW_SHOWNA);
    }
    ShortenDialog(dialog, offered);
    int index = DefaultLanguageIndex();
    SetLanguage(index);
    CheckRadioButton(dialog, IDC_LANGUAGE_FIRST, IDC_LANGUAGE_FIRST + IDC_LANGUAGE_COUNT - 1,
                     IDC_LANGUAGE_FIRST + index);
    LabelButtons(dialog);
    return TRUE;
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    int id = LOWORD(command);
    if (id >= IDC_LANGUAGE_FIRST && id < IDC_LANGUAGE_FIRST + IDC_LANGUAGE_COUNT) {
        SetLanguage(id - IDC_LANGUAGE_FIRST);
        LabelButtons(dialog);
        return TRUE;
    }
    if (id == IDOK) {
        auto request = DialogRequest<LanguageRequest>(dialog);
        for (int i = 0; i < IDC_LANGUAGE_COUNT; ++i)
            if (IsDlgButtonChecked(dialog, IDC_LANGUAGE_FIRST + i) == BST_CHECKED)
                request->index = i;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void SetLanguage(UINT value)
{
    LangBase = value < 1000 ? (value + 1) * 1000 : value;
    wchar_t caption[256];
    LoadBankString(LangBase + IDS_FRAME_CAPTION, caption, std::size(caption));
    SetWindowTextW(FrameWindow, caption);
    wchar_t cancel[256];
    LoadBankString(LangBase + IDS_CANCEL, cancel, std::size(cancel));
    SetWindowTextW(CancelButton, cancel);
    SetInfoTitle(LangBase + IDS_WELCOME);
}

int DefaultLanguageIndex()
{
    wchar_t language[4];
    GetProfileStringW(L"intl", L"sLanguage", L"ENU", language, 4);
    language[2] = 0;
    CharUpperW(language);
    int offered = OfferedLanguages();
    for (int i = 0; i < offered; ++i) {
        wchar_t code[16];
        LoadBankString(IDS_LANGUAGE_CODE + i, code, std::size(code));
        CharUpperW(code);
        if (wcsstr(code, language))
            return i;
    }
    return 0;
}

bool ChooseLanguage(HWND frame)
{
    if (OfferedLanguages() <= 1 || IsUnattended()) {
        SetLanguage(0);
        return true;
    }
    LanguageRequest request;
    if (RunModalDialog(IDD_LANGUAGE, frame, DialogProcedure<OnInitDialog, OnCommand>, &request) !=
        DialogResult::Accepted)
        return false;
    SetLanguage(request.index);
    return true;
}
