#include "services/secret_edit.h"

#include "shell/setup_state.h"

namespace {

void WipeSecretEdit(HWND dialog, int id)
{
    // The text is replaced in place by as many fill characters, then
    // removed, so the control's buffer no longer holds it.
    HWND edit = GetDlgItem(dialog, id);
    wchar_t fill[kAccountPasswordChars + 1];
    int length = GetWindowTextLengthW(edit);
    if (length > kAccountPasswordChars)
        length = kAccountPasswordChars;
    for (int i = 0; i < length; ++i)
        fill[i] = L'*';
    fill[length] = 0;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(fill));
    SetWindowTextW(edit, L"");
}

}  // namespace

void EndSecretDialog(HWND dialog, int passwordId, INT_PTR result)
{
    WipeSecretEdit(dialog, passwordId);
    EndDialog(dialog, result);
}
