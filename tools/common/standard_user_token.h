#pragma once
// The token a standard user (or an administrator whose token is not
// elevated) runs programs with: this process's own, with the
// Administrators group made deny-only. Shared by the tests and the bench,
// which start setup.exe that way; never by the product.
#include <windows.h>

// A new token the caller closes; null when it cannot be made.
inline HANDLE TokenWithoutAdministrators()
{
    HANDLE token = nullptr, restricted = nullptr;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    SID_AND_ATTRIBUTES disable = {administrators, 0};
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token) &&
        CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size))
        CreateRestrictedToken(token, 0, 1, &disable, 0, nullptr, 0, nullptr, &restricted);
    if (token)
        CloseHandle(token);
    return restricted;
}
