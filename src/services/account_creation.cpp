#include "services/account_names.h"
#include "services/accounts.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"

bool CreateServiceAccount(const wchar_t* account, const wchar_t* password, const wchar_t* comment)
{
    AccountParts parts;
    if (!SplitAccountName(account, true, parts))
        return false;
    wchar_t empty[] = L"";
    USER_INFO_1 user{};
    user.usri1_name = &parts.user[0];
    // Only read by the call.
    user.usri1_password = const_cast<wchar_t*>(password);
    user.usri1_password_age = 1;
    user.usri1_priv = USER_PRIV_USER;
    user.usri1_home_dir = empty;
    user.usri1_comment = const_cast<wchar_t*>(comment);
    user.usri1_flags = UF_SCRIPT | UF_PASSWD_CANT_CHANGE | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
    user.usri1_script_path = empty;
    NET_API_STATUS status = Platform().NetUserAdd(ServerName(parts.server), 1, reinterpret_cast<BYTE*>(&user), nullptr);
    AccountErrors.net = status;
    return status == NERR_Success;
}
