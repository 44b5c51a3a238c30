#include "services/accounts.h"

#include "shell/setup_state.h"

bool GetAccountErrors(DWORD& os, DWORD& net, DWORD& nt)
{
    os = AccountErrors.os;
    net = AccountErrors.net;
    nt = AccountErrors.nt;
    return os != 0 || net != 0 || nt != 0;
}
