#pragma once
#include <windows.h>

// Sets a dialog's caption (`control` 0) or one control's text to bank string
// `id` (absolute), loaded with at most `maxChars` characters.
void SetDialogText(HWND dialog, int control, UINT id, int maxChars = 255);
