#pragma once
#include <windows.h>

// Fixes the language: the language dialog, or English when only one
// language is offered or the run is unattended. False when the user
// cancelled.
bool ChooseLanguage(HWND frame);

// A value below 1000 is a language index (0 English ... 5 Italian), any
// other is a bank base. Sets LangBase and the setup window's texts.
void SetLanguage(UINT value);

// The index of the system's regional language among those offered; 0 when
// none matches.
int DefaultLanguageIndex();
