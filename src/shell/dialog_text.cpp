#include "shell/dialog_text.h"

#include <iterator>

#include "shell/string_bank.h"

void SetDialogText(HWND dialog, int control, UINT id, size_t chars)
{
    wchar_t text[256];
    LoadBankString(id, text, chars < std::size(text) ? chars : std::size(text));
    if (control == 0)
        SetWindowTextW(dialog, text);
    else
        SetDlgItemTextW(dialog, control, text);
}
