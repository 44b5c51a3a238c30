#pragma once

// True when the process token holds the builtin Administrators group in a
// form that grants access: a deny-only entry (an administrator's filtered
// token on a current Windows) does not count.
bool IsAdministrator();
