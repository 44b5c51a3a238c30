#include "shell/hooks.h"

RestartCall RestartSystem = ExitWindowsEx;
const wchar_t* ProgmanApplication = L"PROGMAN";
DWORD DdeAckTimeoutMs = kDdeAckTimeoutMs;
