#pragma once
// Password fields are emptied over their old text, so the password does not
// linger in the control once the dialog is done with it.
#include <windows.h>

// Ends a dialog holding a password field with `result`, the field wiped.
void EndSecretDialog(HWND dialog, int passwordId, INT_PTR result);
