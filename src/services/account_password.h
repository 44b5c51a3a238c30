#pragma once
// Passwords that setup makes for the service account from the unattended
// keywords. No generated password is stored or shown anywhere.
#include <windows.h>

// The length of a generated password, without its terminator.
constexpr int kGeneratedPasswordChars = 10;

// The ELF hash over UTF-16 code units; 0 for an empty text.
DWORD NameHash(const wchar_t* text);

// "$DEFAULT$": the same user and domain give the same password on every
// computer of a site, so an account shared by its servers gets one password.
// Digits and letters only; `password` holds kGeneratedPasswordChars + 1.
void MakeDefaultPassword(const wchar_t* domain, const wchar_t* user, wchar_t* password);

// "$RANDOM$": drawn from the system's cryptographic generator, the same
// alphabet and length. False when the generator cannot be had.
bool MakeRandomPassword(wchar_t* password);
