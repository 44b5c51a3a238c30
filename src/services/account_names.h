#pragma once
// How an account name DOMAIN\user is resolved: which server keeps the
// account, the account's security identifier, and the names of the
// network's domains. Shared by the units that test and change accounts.
#include <windows.h>
#include <winnetwk.h>

#include <string>
#include <vector>

// Where an account is looked up or created: `server` is two backslashes and
// a computer name, or empty when the local computer answers (asking a
// trusted domain); `user` is what that server is asked for.
struct AccountParts {
    std::wstring server;
    std::wstring user;
};

// Splits `account`; `forUpdate` asks for the server on which the account can
// be created. Fails (OS error 14) without a domain controller for a domain
// part that names a domain.
bool SplitAccountName(const wchar_t* account, bool forUpdate, AccountParts& parts);

// A server name as the platform calls take it: null for this computer.
inline const wchar_t* ServerName(const std::wstring& server)
{
    return server.empty() ? nullptr : server.c_str();
}

struct AccountFacts {
    std::vector<BYTE> sid;
    SID_NAME_USE kind;
    std::wstring domain;  // the domain that holds the account
};

// Finds `account` in the domain it names (an account of the same user name
// in another domain fails with OS error 1332). `facts` may be null.
bool LookupAccount(const wchar_t* account, AccountFacts* facts);

// `name` names a domain of the network, searched below `container` (null:
// the whole network), at most two levels deep and for a few seconds.
bool IsDomainName(const wchar_t* name, NETRESOURCEW* container = nullptr);

// The built-in alias of relative identifier `rid` (544: Administrators).
bool BuiltinAliasSid(DWORD rid, std::vector<BYTE>& sid);

// The controller of `domain` (null: this computer's domain), two backslashes
// and a name, as the platform gives it; the status goes to the Net-error
// slot.
bool DomainControllerName(const wchar_t* domain, std::wstring& controller);
