#pragma once
#include <windows.h>

// Runs the whole setup inside the frame's handling of the start message:
// language, default destination, then the install or maintenance flow.
LRESULT RunStartHandler(HWND frame);
