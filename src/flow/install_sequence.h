#pragma once
#include <windows.h>

// The ordered install: destination, checks of the directory, the copy with
// the product's configuration, and the readme. True when the product was
// installed. `destination` is the 260-character DestinationPath, edited in
// place. A failure that the user caused or must see has already asked for
// the end of the program with code 1.
bool RunInstall(HWND frame, wchar_t* destination);
