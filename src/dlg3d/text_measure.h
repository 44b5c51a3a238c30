#pragma once
// A control's text as it shows on screen: without its mnemonic markers.
#include <windows.h>

#include <stddef.h>

// Copies `text` into `out` (`outChars` including the terminator) without its
// markers: "&" is dropped and the character after it kept. On a double-byte
// system `prefix` (30 or 31) behaves like "&", and the other of 30 and 31 is
// dropped with the character after it. A marker at the very end is dropped.
// Returns the number of characters copied.
size_t StripMnemonics(const wchar_t* text, wchar_t* out, size_t outChars, bool doubleByte, wchar_t prefix);

// The size of `text` without its markers in the DC's font, for centring
// and focus rectangles.
SIZE MeasureControlText(HDC dc, const wchar_t* text);
