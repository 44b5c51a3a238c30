#pragma once
// The account the product's services run under: from "/USER:", "/DOMAIN:"
// and "/PASSWORD:", or from the "Service Account" dialog; created when it
// does not exist, made an administrator and given the "Logon As a Service"
// right, each step announced or reported to the user.
#include <windows.h>

#include "shell/setup_state.h"

// True when an account is settled in `account` and fit for services. With
// "/USER:" the command line gives it (keywords settled) and nothing is shown
// but messages; otherwise the dialog, owned by `owner`, asks for it.
bool ObtainServiceAccount(HWND owner, ServiceAccountRecord& account);

// The command-line half of ObtainServiceAccount: false when an option is
// absent or too long (nothing is shown then) or the account is not fit.
bool ObtainServiceAccountFromOptions(HWND owner, ServiceAccountRecord& account);

// Where a password came from: typed by someone, in the dialog or on the
// command line, or generated for "$DEFAULT$" or "$RANDOM$", which nobody
// can type again.
enum class PasswordOrigin { Typed, Generated };

// Checks the account, creating it and granting what it lacks; a typed
// password is confirmed in a dialog owned by `asker` before the account is
// created with it. False when it is not fit; `focusPassword` then says
// whether the password is what to correct (a cancelled confirmation) rather
// than the name.
bool VerifyServiceAccount(HWND asker, const ServiceAccountRecord& account, PasswordOrigin origin,
                          bool& focusPassword);

// True when the user typed `password` again in the dialog owned by `asker`,
// or the run is unattended.
bool ConfirmPassword(HWND asker, const wchar_t* password);

// The domain (LAN group) this workstation belongs to; empty when it cannot
// be read. `chars` counts the terminator.
void GetWorkstationDomain(wchar_t* domain, int chars);
