#pragma once
// Every modal dialog of setup runs the same way: its caller fills a request,
// the dialog keeps the request in DWLP_USER from WM_INITDIALOG on, writes
// values back into it only when its OK is accepted, and ends with a named
// result.
#include <windows.h>

enum class DialogResult {
    Accepted,   // OK: the request holds the dialog's values
    Cancelled,  // Cancel, Escape, the close box, or the dialog never ran or
                // was destroyed with its owner
};

// Runs dialog template `templateId` modally, owned by `owner`, with `request`
// as its WM_INITDIALOG parameter. Only EndDialog(dialog, IDOK) is Accepted.
DialogResult RunModalDialog(int templateId, HWND owner, DLGPROC procedure, void* request);

// Keeps the request of WM_INITDIALOG for the dialog's later messages.
void KeepDialogRequest(HWND dialog, LPARAM request);

// The procedure of a setup dialog: WM_INITDIALOG keeps the request (read
// with DialogRequest) and goes to `OnInitDialog`, WM_COMMAND goes to `OnCommand` with its wParam
// (the control's ID and the notification); everything else is the dialog
// manager's.
template <BOOL (*OnInitDialog)(HWND dialog), BOOL (*OnCommand)(HWND dialog, WPARAM command)>
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        KeepDialogRequest(dialog, lParam);
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    default:
        return FALSE;
    }
}

// The request kept by KeepDialogRequest; null before WM_INITDIALOG.
template <typename Request>
Request* DialogRequest(HWND dialog)
{
    return reinterpret_cast<Request*>(GetWindowLongPtrW(dialog, DWLP_USER));
}
