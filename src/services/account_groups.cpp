#include "services/account_names.h"
#include "services/accounts.h"
#include "shell/handles.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"

namespace {

constexpr DWORD kPreferredBytes = 4096;
constexpr DWORD kAccountNameChars = 255;

struct SidName {
    wchar_t name[kAccountNameChars];
    wchar_t domain[kAccountNameChars];
    SID_NAME_USE kind;
};

bool LookupSid(const wchar_t* server, PSID sid, SidName& found)
{
    DWORD nameChars = ARRAYSIZE(found.name);
    DWORD domainChars = ARRAYSIZE(found.domain);
    return Platform().LookupAccountSidW(server, sid, found.name, &nameChars, found.domain, &domainChars,
                                        &found.kind) != FALSE;
}

// The server that keeps the alias: the one given, or on a domain controller
// asked for none, the controller of its own domain.
std::wstring AliasServer(const wchar_t* server)
{
    std::wstring controller;
    if (server)
        return server;
    if (IsDomainController() && DomainControllerName(nullptr, controller))
        return controller;
    return {};
}

// The alias's name on `server`, which the network calls ask for.
bool AliasName(const wchar_t* server, PSID alias, SidName& name)
{
    if (LookupSid(server, alias, name))
        return true;
    AccountErrors.os = GetLastError();
    return false;
}

bool IsGlobalGroupMember(const wchar_t* domain, const wchar_t* group, PSID account)
{
    std::wstring controller;
    const wchar_t* server = DomainControllerName(domain, controller) ? controller.c_str() : nullptr;
    DWORD_PTR resume = 0;
    bool found = false;
    for (;;) {
        NetBuffer buffer;
        DWORD read = 0;
        DWORD total = 0;
        NET_API_STATUS status = Platform().NetGroupGetUsers(server, group, 0, buffer.receive(), kPreferredBytes, &read,
                                                            &total, &resume);
        AccountErrors.net = status;
        if (status != NERR_Success && status != ERROR_MORE_DATA)
            break;
        auto users = buffer.as<GROUP_USERS_INFO_0>();
        for (DWORD i = 0; i < read && !found; ++i) {
            std::wstring name = domain && *domain ? std::wstring(domain) + L"\\" + users[i].grui0_name
                                                  : std::wstring(users[i].grui0_name);
            AccountFacts member;
            found = LookupAccount(name.c_str(), &member) && EqualSid(member.sid.data(), account);
        }
        // A server that answers "more" without giving any would be asked
        // for ever.
        if (found || read == 0 || read >= total)
            break;
    }
    return found;
}

bool IsAliasMember(PSID alias, PSID account, const wchar_t* server)
{
    std::wstring aliasServer = AliasServer(server);
    SidName aliasName;
    if (!AliasName(ServerName(aliasServer), alias, aliasName))
        return false;
    DWORD_PTR resume = 0;
    bool found = false;
    for (;;) {
        NetBuffer buffer;
        DWORD read = 0;
        DWORD total = 0;
        NET_API_STATUS status = Platform().NetLocalGroupGetMembers(
            ServerName(aliasServer), aliasName.name, 0, buffer.receive(), kPreferredBytes, &read, &total, &resume);
        AccountErrors.net = status;
        if (status != NERR_Success && status != ERROR_MORE_DATA)
            break;
        auto members = buffer.as<LOCALGROUP_MEMBERS_INFO_0>();
        for (DWORD i = 0; i < read && !found; ++i) {
            SidName member;
            if (LookupSid(ServerName(aliasServer), members[i].lgrmi0_sid, member)
                && (member.kind == SidTypeGroup || member.kind == SidTypeWellKnownGroup))
                found = IsGlobalGroupMember(member.domain, member.name, account);
            else
                found = EqualSid(members[i].lgrmi0_sid, account) != FALSE;
        }
        if (found || read == 0 || read >= total)
            break;
    }
    return found;
}

bool AddAliasMember(PSID alias, PSID account, const wchar_t* server)
{
    if (IsAliasMember(alias, account, server))
        return true;
    std::wstring aliasServer = AliasServer(server);
    SidName aliasName;
    if (!AliasName(ServerName(aliasServer), alias, aliasName))
        return false;
    NET_API_STATUS status = Platform().NetLocalGroupAddMember(ServerName(aliasServer), aliasName.name, account);
    AccountErrors.net = status;
    // A member that the test above could not see (the list unreadable) is
    // still a member.
    return status == NERR_Success || status == ERROR_MEMBER_IN_ALIAS;
}

// The account's SID and the server to ask about its Administrators
// membership.
struct AdministratorsQuestion {
    std::vector<BYTE> administrators;
    AccountFacts account;
    AccountParts parts;
    const wchar_t* server;
};

bool PrepareQuestion(const wchar_t* account, const wchar_t* server, AdministratorsQuestion& question)
{
    if (!BuiltinAliasSid(DOMAIN_ALIAS_RID_ADMINS, question.administrators))
        return false;
    if (!LookupAccount(account, &question.account))
        return false;
    if (!SplitAccountName(account, false, question.parts))
        return false;
    question.server = server ? server : ServerName(question.parts.server);
    return true;
}

}  // namespace

bool IsAccountAdministrator(const wchar_t* account, const wchar_t* server)
{
    AdministratorsQuestion question;
    return PrepareQuestion(account, server, question)
           && IsAliasMember(question.administrators.data(), question.account.sid.data(), question.server);
}

bool MakeAccountAdministrator(const wchar_t* account, const wchar_t* server)
{
    AdministratorsQuestion question;
    return PrepareQuestion(account, server, question)
           && AddAliasMember(question.administrators.data(), question.account.sid.data(), question.server);
}
