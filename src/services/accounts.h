#pragma once
// The service account's operations: is it there, create it, make it an
// administrator, give it the right to log on as a service. Each answers true
// for success (or a yes) and false otherwise; the codes of the calls that
// failed are kept in AccountErrors for the messages. An account is named
// DOMAIN\user, where DOMAIN may be this computer's name; a server is null
// (the account's own, as its name tells) or two backslashes and a computer
// name.
#include <windows.h>

// Copies the three account error codes out; true when any of them is set.
bool GetAccountErrors(DWORD& os, DWORD& net, DWORD& nt);

// This computer is a domain controller.
bool IsDomainController();

bool AccountExists(const wchar_t* account);

// Creates a normal user account whose password never expires and cannot be
// changed by its user.
bool CreateServiceAccount(const wchar_t* account, const wchar_t* password, const wchar_t* comment);

// Membership of the built-in Administrators alias, directly or through a
// global group: tested, and established when missing.
bool IsAccountAdministrator(const wchar_t* account, const wchar_t* server = nullptr);
bool MakeAccountAdministrator(const wchar_t* account, const wchar_t* server = nullptr);

// The right to log on as a service, in the security policy of the computer
// where the account's services run: tested, and granted when missing
// (keeping the account's other logon rights).
// The service-logon bit of an LSA account's system access mask.
constexpr ULONG kServiceLogonMode = 0x10;

bool HasServiceLogonRight(const wchar_t* account, const wchar_t* server = nullptr);
bool GrantServiceLogonRight(const wchar_t* account, const wchar_t* server = nullptr);

