// The service account from the command line: "/USER:", "/DOMAIN:" and
// "/PASSWORD:", with the keywords "$DEFAULT$", "$LOCAL$", "$DOMAIN$" and
// "$RANDOM$" settled into a real account before it is checked.
#include <iterator>

#include "res/resource_ids.h"
#include "services/account_password.h"
#include "services/accounts.h"
#include "services/service_account.h"
#include "shell/handles.h"
#include "shell/options.h"
#include "shell/platform_calls.h"
#include "shell/string_bank.h"

namespace {

const wchar_t kDefaultUser[] = L"Velmar Service Acct";

bool IsKeyword(const wchar_t* value, UINT keyword)
{
    wchar_t text[41];
    LoadBankString(LangBase + keyword, text, std::size(text));
    return text[0] && lstrcmpW(value, text) == 0;
}

void SettleUser(wchar_t (&user)[kAccountUserChars + 1])
{
    if (IsKeyword(user, IDS_KEY_DEFAULT))
        lstrcpynW(user, kDefaultUser, static_cast<int>(std::size(user)));
}

void SettleDomain(wchar_t (&domain)[kAccountDomainChars + 1])
{
    wchar_t workstationDomain[kAccountDomainChars + 1];
    GetWorkstationDomain(workstationDomain, static_cast<int>(std::size(workstationDomain)));
    if (IsKeyword(domain, IDS_KEY_DEFAULT) || IsKeyword(domain, IDS_KEY_LOCAL)) {
        if (IsDomainController()) {
            lstrcpynW(domain, workstationDomain, static_cast<int>(std::size(domain)));
        } else {
            DWORD chars = static_cast<DWORD>(std::size(domain));
            if (!GetComputerNameW(domain, &chars))
                domain[0] = 0;
        }
    } else if (IsKeyword(domain, IDS_KEY_DOMAIN)) {
        lstrcpynW(domain, workstationDomain, static_cast<int>(std::size(domain)));
    }
}

// Replaces a password keyword by the password it stands for; `origin` says
// whether it did. False when none could be drawn.
bool SettlePassword(ServiceAccountRecord& account, PasswordOrigin& origin)
{
    static_assert(kGeneratedPasswordChars <= kAccountPasswordChars, "a generated password fits the record");
    origin = PasswordOrigin::Generated;
    if (IsKeyword(account.password, IDS_KEY_DEFAULT))
        MakeDefaultPassword(account.domain, account.user, account.password);
    else if (IsKeyword(account.password, IDS_KEY_RANDOM))
        return MakeRandomPassword(account.password);
    else
        origin = PasswordOrigin::Typed;
    return true;
}

// Copies an option's value into `field`; a value that is absent or does not
// fit counts as absent.
template <size_t Chars>
bool TakeOption(UINT option, wchar_t (&field)[Chars])
{
    return GetOptionArgument(field, std::size(field), CommandLine, LangBase + option);
}

}  // namespace

void GetWorkstationDomain(wchar_t* domain, int chars)
{
    domain[0] = 0;
    NetBuffer buffer;
    if (Platform().NetWkstaGetInfo(nullptr, 100, buffer.receive()) == NERR_Success && buffer) {
        const wchar_t* group = buffer.as<WKSTA_INFO_100>()->wki100_langroup;
        if (group && lstrlenW(group) < chars)
            lstrcpynW(domain, group, chars);
    }
}

bool ObtainServiceAccountFromOptions(HWND owner, ServiceAccountRecord& account)
{
    if (!TakeOption(IDS_OPT_USER, account.user) || !TakeOption(IDS_OPT_DOMAIN, account.domain) ||
        !TakeOption(IDS_OPT_PASSWORD, account.password))
        return false;
    SettleUser(account.user);
    SettleDomain(account.domain);
    PasswordOrigin origin = PasswordOrigin::Typed;
    if (!SettlePassword(account, origin))
        return false;
    bool focusPassword = false;
    return VerifyServiceAccount(owner, account, origin, focusPassword);
}
