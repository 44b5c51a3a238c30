#pragma once
// The 8-bit form of a Program Manager command for the systems whose Program
// Manager reads commands in code page 437.
#include <windows.h>

#include <string>

// One byte of code page 437 for each UTF-16 character of `text`, with
// `defaultByte` for a character that has none. The zero terminator is not
// part of the result.
std::string WideToOem437(const std::wstring& text, char defaultByte);
