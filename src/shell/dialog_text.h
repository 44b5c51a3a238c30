#pragma once
#include <windows.h>

// Sets a dialog's caption (`control` 0) or one control's text to bank string
// `id` (absolute), cut to fit `chars` characters with its terminator.
void SetDialogText(HWND dialog, int control, UINT id, size_t chars = 256);
