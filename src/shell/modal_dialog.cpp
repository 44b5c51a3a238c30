#include "shell/modal_dialog.h"

#include "shell/setup_state.h"

DialogResult RunModalDialog(int templateId, HWND owner, DLGPROC procedure, void* request)
{
    // A dialog that cannot be created answers -1, and one destroyed with its
    // owner (the frame closed while it was open) answers without EndDialog:
    // neither is an OK.
    INT_PTR result = DialogBoxParamW(Instance, MAKEINTRESOURCEW(templateId), owner, procedure,
                                     reinterpret_cast<LPARAM>(request));
    return result == IDOK ? DialogResult::Accepted : DialogResult::Cancelled;
}

void KeepDialogRequest(HWND dialog, LPARAM request)
{
    SetWindowLongPtrW(dialog, DWLP_USER, request);
}
