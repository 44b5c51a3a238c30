#pragma once
// Password fields are emptied over their old text, so the password does not
// linger in the control once the dialog is done with it.
#include <windows.h>

void WipeSecretEdit(HWND dialog, int id);
