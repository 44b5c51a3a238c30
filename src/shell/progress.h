#pragma once
// What the running sequences show on the setup window. Every operation
// drains the message queue before it returns, so the change shows at once.
#include <windows.h>

void ShowInfoWindow(bool show);
bool SetInfoText(UINT id);          // absolute string ID
void ShowPercentWindow(bool show);  // the gauge starts again at 0
bool SetPercent(int value);         // 0..100; anything else shows as 100
bool SetActionText(UINT id);        // absolute string ID

// Moves a dialog to the centre of its parent (the screen's centre for the
// maximised frame).
void CenterOnParent(HWND dialog);
