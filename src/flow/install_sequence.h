#pragma once
#include <windows.h>

// The ordered install: destination, checks of the directory, the copy with
// the product's configuration, and the readme. True when the product was
// installed. `destination` is the 260-character DestinationPath, edited in
// place. A failure has already been told to the user where it needs telling;
// the caller ends the program as not completed.
bool RunInstall(HWND frame, wchar_t* destination);
