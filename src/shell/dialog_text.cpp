#include "shell/dialog_text.h"

#include "shell/string_bank.h"

void SetDialogText(HWND dialog, int control, UINT id, int maxChars)
{
    wchar_t text[256];
    LoadBankString(id, text, maxChars < 255 ? maxChars : 255);
    if (control == 0)
        SetWindowTextW(dialog, text);
    else
        SetDlgItemTextW(dialog, control, text);
}
