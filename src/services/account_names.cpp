#include "services/account_names.h"

#include <wchar.h>

#include "services/accounts.h"
#include "shell/handles.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"

namespace {

// How far the search for a domain goes: the network's providers and the
// domains below them; and for how long, since every level asks the network.
constexpr int kDomainSearchLevels = 2;
constexpr DWORD kDomainSearchMilliseconds = 5000;
constexpr DWORD kEnumerationBytes = 8192;

// The backslash that ends the domain part of `account`, or null without one.
const wchar_t* Backslash(const wchar_t* account)
{
    return wcschr(account, L'\\');
}

bool SearchDomain(const wchar_t* name, NETRESOURCEW* container, int levels, DWORD started)
{
    NetEnumeration enumeration;
    if (Platform().WNetOpenEnumW(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, enumeration.receive()) != NO_ERROR)
        return false;
    std::vector<BYTE> buffer(kEnumerationBytes);
    bool found = false;
    while (!found && GetTickCount() - started < kDomainSearchMilliseconds) {
        DWORD count = static_cast<DWORD>(-1);
        DWORD bytes = static_cast<DWORD>(buffer.size());
        if (Platform().WNetEnumResourceW(enumeration.get(), &count, buffer.data(), &bytes) != NO_ERROR || count == 0)
            break;
        auto* resources = reinterpret_cast<NETRESOURCEW*>(buffer.data());
        for (DWORD i = 0; i < count && !found; ++i) {
            NETRESOURCEW& resource = resources[i];
            switch (resource.dwDisplayType) {
            case RESOURCEDISPLAYTYPE_GENERIC:
            case RESOURCEDISPLAYTYPE_NETWORK:
                if (levels > 1)
                    found = SearchDomain(name, &resource, levels - 1, started);
                break;
            case RESOURCEDISPLAYTYPE_DOMAIN:
                found = resource.lpRemoteName && _wcsicmp(resource.lpRemoteName, name) == 0;
                break;
            default:
                break;
            }
        }
    }
    return found;
}

bool SplitParts(const wchar_t* account, bool forUpdate, AccountParts& parts)
{
    const wchar_t* backslash = Backslash(account);
    if (!backslash)
        return false;
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 3];
    DWORD chars = ARRAYSIZE(computer) - 1;
    if (!GetComputerNameW(computer, &chars))
        return false;
    computer[chars] = L'\\';
    computer[chars + 1] = 0;
    if (_wcsnicmp(account, computer, chars + 1) == 0) {
        parts.server = std::wstring(L"\\\\") + std::wstring(computer, chars);
        parts.user = backslash + 1;
        return true;
    }

    size_t domainChars = static_cast<size_t>(backslash - account);
    // A longer domain part is cut to a domain name's length.
    std::wstring domain(account, domainChars < kAccountDomainChars ? domainChars : kAccountDomainChars);
    if (!IsDomainName(domain.c_str())) {
        parts.server = L"\\\\" + domain;
        parts.user = backslash + 1;
        return true;
    }
    std::wstring controller;
    if (!DomainControllerName(domain.c_str(), controller))
        return false;
    if (!forUpdate && !IsDomainController()) {
        parts.server.clear();
        parts.user = account;
    } else {
        parts.server = controller;
        parts.user = backslash + 1;
    }
    return true;
}

}  // namespace

bool IsDomainController()
{
    RegistryKey key;
    LONG error = key.Open(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", KEY_READ);
    if (error != ERROR_SUCCESS) {
        AccountErrors.os = error;
        return false;
    }
    wchar_t type[260 + 1];
    DWORD bytes = sizeof type - sizeof type[0];
    DWORD kind = REG_NONE;
    error = RegQueryValueExW(key.get(), L"ProductType", nullptr, &kind, reinterpret_cast<BYTE*>(type), &bytes);
    if (error != ERROR_SUCCESS) {
        AccountErrors.os = error;
        return false;
    }
    if (kind != REG_SZ)
        return false;
    type[bytes / sizeof type[0]] = 0;
    return _wcsicmp(type, L"LanManNt") == 0;
}

bool IsDomainName(const wchar_t* name, NETRESOURCEW* container)
{
    return SearchDomain(name, container, kDomainSearchLevels, GetTickCount());
}

bool DomainControllerName(const wchar_t* domain, std::wstring& controller)
{
    NetBuffer name;
    NET_API_STATUS status = Platform().NetGetDCName(nullptr, domain, name.receive());
    AccountErrors.net = status;
    if (status != NERR_Success)
        return false;
    controller = name.as<wchar_t>();
    return true;
}

bool SplitAccountName(const wchar_t* account, bool forUpdate, AccountParts& parts)
{
    if (SplitParts(account, forUpdate, parts))
        return true;
    parts = {};
    AccountErrors.os = ERROR_OUTOFMEMORY;
    return false;
}

bool LookupAccount(const wchar_t* account, AccountFacts* facts)
{
    AccountParts parts;
    if (!SplitAccountName(account, false, parts))
        return false;
    DWORD sidBytes = 0;
    DWORD domainChars = 0;
    SID_NAME_USE kind = SidTypeUnknown;
    BOOL found = Platform().LookupAccountNameW(ServerName(parts.server), parts.user.c_str(), nullptr, &sidBytes,
                                               nullptr, &domainChars, &kind);
    AccountErrors.os = GetLastError();
    if (found || AccountErrors.os != ERROR_INSUFFICIENT_BUFFER)
        return false;

    std::vector<BYTE> sid(sidBytes);
    std::wstring domain(domainChars + 1, L'\0');
    domainChars = static_cast<DWORD>(domain.size());
    if (!Platform().LookupAccountNameW(ServerName(parts.server), parts.user.c_str(), sid.data(), &sidBytes, &domain[0],
                                       &domainChars, &kind)) {
        AccountErrors.os = GetLastError();
        return false;
    }
    // The lookup answers for an account of the same user name in another
    // domain when the one named has none: that is not the account asked for.
    size_t namedChars = static_cast<size_t>(Backslash(account) - account);
    if (namedChars != domainChars || _wcsnicmp(account, domain.c_str(), domainChars) != 0) {
        AccountErrors.os = ERROR_NONE_MAPPED;
        return false;
    }
    if (facts) {
        domain.resize(domainChars);
        facts->sid = std::move(sid);
        facts->kind = kind;
        facts->domain = std::move(domain);
    }
    return true;
}

bool AccountExists(const wchar_t* account)
{
    return LookupAccount(account, nullptr);
}

bool BuiltinAliasSid(DWORD rid, std::vector<BYTE>& sid)
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID alias = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0, &alias)) {
        AccountErrors.os = GetLastError();
        return false;
    }
    auto bytes = static_cast<const BYTE*>(alias);
    sid.assign(bytes, bytes + GetLengthSid(alias));
    FreeSid(alias);
    return true;
}
