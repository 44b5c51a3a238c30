#include "support/simulated_network.h"

#include <algorithm>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

SimulatedNetwork* SimulatedNetwork::current_;

namespace {

constexpr wchar_t kProvider[] = L"Windows Network";
constexpr wchar_t kLoopingContainer[] = L"Looping";
constexpr wchar_t kLevelPrefix[] = L"Level ";
constexpr wchar_t kWorkgroup[] = L"WORKGROUP";
constexpr wchar_t kAdministrators[] = L"Administrators";
constexpr wchar_t kBuiltin[] = L"BUILTIN";
// An enumeration that would otherwise never end is cut off here.
constexpr int kRunawayCalls = 100;

constexpr NTSTATUS kStatusSuccess = 0;
constexpr NTSTATUS kStatusInvalidHandle = static_cast<NTSTATUS>(0xC0000008);
constexpr NTSTATUS kStatusNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kStatusCollision = static_cast<NTSTATUS>(0xC0000035);
constexpr NTSTATUS kStatusServerUnavailable = static_cast<NTSTATUS>(0xC0020017);

struct LogonRight {
    ULONG mode;
    const wchar_t* name;
};
constexpr LogonRight kLogonRights[] = {
    {0x1, L"SeInteractiveLogonRight"},
    {0x2, L"SeNetworkLogonRight"},
    {0x4, L"SeBatchLogonRight"},
    {0x10, L"SeServiceLogonRight"},
};

bool Same(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

[[noreturn]] void Misuse(const char* what, const std::wstring& name)
{
    fprintf(stderr, "simulated network: %s: %ls\n", what, name.c_str());
    abort();
}

std::vector<BYTE> MakeSid(std::initializer_list<DWORD> subAuthorities)
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    std::vector<BYTE> sid(GetSidLengthRequired(static_cast<UCHAR>(subAuthorities.size())));
    InitializeSid(sid.data(), &nt, static_cast<BYTE>(subAuthorities.size()));
    DWORD i = 0;
    for (DWORD value : subAuthorities)
        *GetSidSubAuthority(sid.data(), i++) = value;
    return sid;
}

const std::vector<BYTE>& AdministratorsSid()
{
    static const std::vector<BYTE> sid = MakeSid({SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
    return sid;
}

bool SameSid(const std::vector<BYTE>& a, const void* b)
{
    return EqualSid(const_cast<BYTE*>(a.data()), const_cast<void*>(b)) != FALSE;
}

std::wstring StripBackslashes(const wchar_t* server)
{
    while (*server == L'\\')
        ++server;
    return server;
}

std::vector<BYTE> CopySid(PSID sid)
{
    auto bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

size_t TextBytes(const std::wstring& text)
{
    return (text.size() + 1) * sizeof(wchar_t);
}

// Copies `text` to the end of a buffer being filled from both ends.
wchar_t* PlaceText(BYTE*& end, const std::wstring& text)
{
    end -= TextBytes(text);
    memcpy(end, text.c_str(), TextBytes(text));
    return reinterpret_cast<wchar_t*>(end);
}

// Copies `text` into a caller's buffer of `chars`, as the lookups do.
bool GiveText(const std::wstring& text, wchar_t* buffer, DWORD& chars)
{
    bool fits = buffer && chars > text.size();
    if (fits) {
        memcpy(buffer, text.c_str(), TextBytes(text));
        chars = static_cast<DWORD>(text.size());
    } else {
        chars = static_cast<DWORD>(text.size() + 1);
    }
    return fits;
}

}  // namespace

struct SimulatedNetwork::Authority {
    struct Account {
        std::wstring name;
        DWORD rid;
        SID_NAME_USE kind;
        User user;
        std::vector<std::wstring> members;
    };

    std::wstring name;
    bool isDomain = false;
    DWORD id = 0;
    std::vector<Account> accounts;
    std::vector<std::vector<BYTE>> administrators;
    // Account objects by SID, with the logon modes they grant.
    std::map<std::vector<BYTE>, ULONG> lsa;
    std::wstring controller;
    std::vector<std::wstring> trusts;
    DWORD nextRid = 1000;

    std::vector<BYTE> Sid(DWORD rid) const { return MakeSid({SECURITY_NT_NON_UNIQUE, id, 0, 0, rid}); }

    Account* Find(const std::wstring& account)
    {
        for (Account& entry : accounts)
            if (Same(entry.name, account))
                return &entry;
        return nullptr;
    }

    Account& Add(const std::wstring& account, SID_NAME_USE kind)
    {
        if (Find(account))
            Misuse("account added twice", account);
        accounts.push_back({account, nextRid++, kind, {}, {}});
        return accounts.back();
    }
};

struct SimulatedNetwork::Computer {
    std::wstring name;
    std::wstring domain;  // empty: in the workgroup
    bool controller = false;
    Authority* own = nullptr;
};

struct SimulatedNetwork::LsaObject {
    Authority* store;
    std::vector<BYTE> sid;  // empty for a policy
};

struct SimulatedNetwork::Enumeration {
    struct Entry {
        std::wstring remoteName;
        DWORD displayType;
    };
    std::vector<Entry> entries;
    size_t next = 0;
};

namespace {

// The entry of `list` named `name`; null when there is none.
template <typename T>
T* Named(const std::vector<std::unique_ptr<T>>& list, const std::wstring& name)
{
    for (auto& entry : list)
        if (Same(entry->name, name))
            return entry.get();
    return nullptr;
}

}  // namespace

SimulatedNetwork::Authority* SimulatedNetwork::FindAuthority(const std::wstring& name) const
{
    return Named(authorities_, name);
}

SimulatedNetwork::Computer* SimulatedNetwork::FindComputer(const std::wstring& name) const
{
    return Named(computers_, name);
}

SimulatedNetwork::Computer* SimulatedNetwork::ServerComputer(const wchar_t* server) const
{
    return FindComputer(server && *server ? StripBackslashes(server) : thisComputer_);
}

SimulatedNetwork::Authority& SimulatedNetwork::StoreOf(const Computer& computer) const
{
    return computer.controller ? AuthorityNamed(computer.domain) : *computer.own;
}

SimulatedNetwork::Authority& SimulatedNetwork::AuthorityNamed(const std::wstring& name) const
{
    if (Computer* computer = FindComputer(name))
        return StoreOf(*computer);
    if (Authority* authority = FindAuthority(name))
        return *authority;
    Misuse("no such domain or computer", name);
}

std::vector<SimulatedNetwork::Authority*> SimulatedNetwork::Visible(const Computer& computer) const
{
    std::vector<Authority*> visible{&StoreOf(computer)};
    Authority* domain = computer.domain.empty() ? nullptr : FindAuthority(computer.domain);
    if (domain && !computer.controller)
        visible.push_back(domain);
    if (domain)
        for (const std::wstring& trusted : domain->trusts)
            visible.push_back(&AuthorityNamed(trusted));
    return visible;
}

bool SimulatedNetwork::FindAccount(const Computer& asking, const std::function<bool(const Found&)>& matches,
                                   Found& found) const
{
    found = {AdministratorsSid(), kAdministrators, kBuiltin, SidTypeAlias};
    if (matches(found))
        return true;
    for (Authority* authority : Visible(asking)) {
        for (const Authority::Account& account : authority->accounts) {
            found = {authority->Sid(account.rid), account.name, authority->name, account.kind};
            if (matches(found))
                return true;
        }
    }
    return false;
}

std::vector<BYTE> SimulatedNetwork::SidOf(const std::wstring& account) const
{
    size_t backslash = account.find(L'\\');
    if (backslash == std::wstring::npos)
        Misuse("an account is named DOMAIN\\name", account);
    if (Same(account, std::wstring(kBuiltin) + L"\\" + kAdministrators))
        return AdministratorsSid();
    Authority& authority = AuthorityNamed(account.substr(0, backslash));
    Authority::Account* found = authority.Find(account.substr(backslash + 1));
    if (!found)
        Misuse("no such account", account);
    return authority.Sid(found->rid);
}

BYTE* SimulatedNetwork::Allocate(size_t bytes, BYTE*& end)
{
    auto block = std::make_unique<BYTE[]>(bytes ? bytes : 1);
    BYTE* address = block.get();
    buffers_[address] = std::move(block);
    end = address + bytes;
    return address;
}

DWORD SimulatedNetwork::ScriptedFailure(Call call)
{
    ++calls_[call];
    auto failure = failures_.find(call);
    return failure == failures_.end() ? 0 : failure->second;
}

int SimulatedNetwork::CallCount(Call call) const
{
    auto count = calls_.find(call);
    return count == calls_.end() ? 0 : count->second;
}

// The platform calls as the simulated network answers them.
struct Entries {
    using Call = SimulatedNetwork::Call;
    using Authority = SimulatedNetwork::Authority;
    using Computer = SimulatedNetwork::Computer;
    using LsaObject = SimulatedNetwork::LsaObject;

    static SimulatedNetwork& Net() { return *SimulatedNetwork::current_; }

    // The common start of a call on `server`: counts it, then answers its
    // scripted failure, an unknown server or a level other than `wanted`;
    // 0 lets it go on.
    static DWORD Start(Call call, LPCWSTR server, Computer*& computer, DWORD level = 0, DWORD wanted = 0)
    {
        if (DWORD status = Net().ScriptedFailure(call))
            return status;
        computer = Net().ServerComputer(server);
        if (!computer)
            return ERROR_BAD_NETPATH;
        return level == wanted ? NERR_Success : ERROR_INVALID_LEVEL;
    }

    static NET_API_STATUS WINAPI NetGetDCName(LPCWSTR server, LPCWSTR domainName, LPBYTE* buffer)
    {
        *buffer = nullptr;
        Computer* computer;
        if (DWORD status = Start(Call::NetGetDCName, server, computer))
            return status;
        std::wstring name = domainName && *domainName ? domainName : computer->domain;
        Authority* domain = name.empty() ? nullptr : Net().FindAuthority(name);
        if (!domain || !domain->isDomain || domain->controller.empty())
            return NERR_DCNotFound;
        std::wstring controller = L"\\\\" + domain->controller;
        BYTE* end;
        *buffer = Net().Allocate(TextBytes(controller), end);
        PlaceText(end, controller);
        return NERR_Success;
    }

    static NET_API_STATUS WINAPI NetUserAdd(LPCWSTR server, DWORD level, LPBYTE buffer, LPDWORD)
    {
        Computer* computer;
        if (DWORD status = Start(Call::NetUserAdd, server, computer, level, 1))
            return status;
        auto info = reinterpret_cast<const USER_INFO_1*>(buffer);
        Authority& store = Net().StoreOf(*computer);
        if (store.Find(info->usri1_name))
            return NERR_UserExists;
        SimulatedNetwork::User& user = store.Add(info->usri1_name, SidTypeUser).user;
        user.password = info->usri1_password ? info->usri1_password : L"";
        user.comment = info->usri1_comment ? info->usri1_comment : L"";
        user.privilege = info->usri1_priv;
        user.flags = info->usri1_flags;
        return NERR_Success;
    }

    // One page of a member list: `items` fixed entries, each followed by
    // its variable part at the buffer's end. A caller that never stops
    // asking is cut off.
    template <typename Item, typename Source, typename Fill>
    static NET_API_STATUS Page(Call call, const std::vector<Source>& all, LPBYTE* buffer, LPDWORD read, LPDWORD total,
                               PDWORD_PTR resume, size_t variableBytes, Fill fill)
    {
        if (Net().CallCount(call) > kRunawayCalls)
            return NERR_InternalError;
        DWORD start = resume ? static_cast<DWORD>(*resume) : 0;
        DWORD remaining = start < all.size() ? static_cast<DWORD>(all.size()) - start : 0;
        DWORD count = Net().pageEntries_ && remaining > Net().pageEntries_ ? Net().pageEntries_ : remaining;
        const auto& empty = Net().emptyMoreData_;
        bool emptyMoreData = std::find(empty.begin(), empty.end(), call) != empty.end();
        if (emptyMoreData)
            count = 0;
        BYTE* end;
        *buffer = Net().Allocate(count * (sizeof(Item) + variableBytes), end);
        auto items = reinterpret_cast<Item*>(*buffer);
        for (DWORD i = 0; i < count; ++i)
            fill(items[i], all[start + i], end);
        *read = count;
        *total = remaining;
        if (resume)
            *resume = start + count;
        return count < remaining || emptyMoreData ? ERROR_MORE_DATA : NERR_Success;
    }

    static NET_API_STATUS WINAPI NetGroupGetUsers(LPCWSTR server, LPCWSTR groupName, DWORD level, LPBYTE* buffer,
                                                  DWORD, LPDWORD read, LPDWORD total, PDWORD_PTR resume)
    {
        *buffer = nullptr;
        *read = *total = 0;
        Computer* computer;
        if (DWORD status = Start(Call::NetGroupGetUsers, server, computer, level))
            return status;
        Authority::Account* group = Net().StoreOf(*computer).Find(groupName);
        if (!group || group->kind != SidTypeGroup)
            return NERR_GroupNotFound;
        return Page<GROUP_USERS_INFO_0>(Call::NetGroupGetUsers, group->members, buffer, read, total, resume,
                                        257 * sizeof(wchar_t),
                                        [](GROUP_USERS_INFO_0& item, const std::wstring& name, BYTE*& end) {
                                            item.grui0_name = PlaceText(end, name);
                                        });
    }

    static NET_API_STATUS WINAPI NetLocalGroupGetMembers(LPCWSTR server, LPCWSTR alias, DWORD level,
                                                         LPBYTE* buffer, DWORD, LPDWORD read, LPDWORD total,
                                                         PDWORD_PTR resume)
    {
        *buffer = nullptr;
        *read = *total = 0;
        Computer* computer;
        if (DWORD status = Start(Call::NetLocalGroupGetMembers, server, computer, level))
            return status;
        if (!Same(alias, kAdministrators))
            return ERROR_NO_SUCH_ALIAS;
        return Page<LOCALGROUP_MEMBERS_INFO_0>(Call::NetLocalGroupGetMembers, Net().StoreOf(*computer).administrators,
                                               buffer, read, total, resume, SECURITY_MAX_SID_SIZE,
                                               [](LOCALGROUP_MEMBERS_INFO_0& item, const std::vector<BYTE>& sid,
                                                  BYTE*& end) {
                                                   end -= SECURITY_MAX_SID_SIZE;
                                                   memcpy(end, sid.data(), sid.size());
                                                   item.lgrmi0_sid = end;
                                               });
    }

    static NET_API_STATUS WINAPI NetLocalGroupAddMember(LPCWSTR server, LPCWSTR alias, PSID member)
    {
        Computer* computer;
        if (DWORD status = Start(Call::NetLocalGroupAddMember, server, computer))
            return status;
        if (!Same(alias, kAdministrators))
            return ERROR_NO_SUCH_ALIAS;
        auto& members = Net().StoreOf(*computer).administrators;
        for (const auto& present : members)
            if (SameSid(present, member))
                return ERROR_MEMBER_IN_ALIAS;
        members.push_back(CopySid(member));
        return NERR_Success;
    }

    static NET_API_STATUS WINAPI NetWkstaGetInfo(LMSTR server, DWORD level, LPBYTE* buffer)
    {
        *buffer = nullptr;
        Computer* computer;
        if (DWORD status = Start(Call::NetWkstaGetInfo, server, computer, level, 100))
            return status;
        std::wstring group = computer->domain.empty() ? kWorkgroup : computer->domain;
        BYTE* end;
        *buffer = Net().Allocate(sizeof(WKSTA_INFO_100) + TextBytes(computer->name) + TextBytes(group), end);
        auto info = reinterpret_cast<WKSTA_INFO_100*>(*buffer);
        info->wki100_platform_id = PLATFORM_ID_NT;
        info->wki100_computername = PlaceText(end, computer->name);
        info->wki100_langroup = PlaceText(end, group);
        info->wki100_ver_major = 3;
        info->wki100_ver_minor = 51;
        return NERR_Success;
    }

    static NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer)
    {
        return Net().buffers_.erase(buffer) ? NERR_Success : ERROR_INVALID_PARAMETER;
    }

    static std::vector<SimulatedNetwork::Enumeration::Entry> Children(const NETRESOURCEW* container, bool& known)
    {
        SimulatedNetwork& net = Net();
        known = true;
        std::vector<SimulatedNetwork::Enumeration::Entry> entries;
        std::wstring name = container && container->lpRemoteName ? container->lpRemoteName : L"";
        // The provider is level 0 of the generic containers above the domains.
        int level = name == kProvider                  ? 0
                    : name.rfind(kLevelPrefix, 0) == 0 ? _wtoi(&name[wcslen(kLevelPrefix)])
                                                       : -1;
        if (!container) {
            entries.push_back({kProvider, RESOURCEDISPLAYTYPE_NETWORK});
        } else if (name == kLoopingContainer || (level == 0 && net.loopingContainer_)) {
            entries.push_back({kLoopingContainer, RESOURCEDISPLAYTYPE_GENERIC});
        }
        if (level >= 0 && level < net.buriedLevels_) {
            entries.push_back({kLevelPrefix + std::to_wstring(level + 1), RESOURCEDISPLAYTYPE_GENERIC});
        } else if (level >= 0) {
            for (auto& authority : net.authorities_)
                if (authority->isDomain)
                    entries.push_back({authority->name, RESOURCEDISPLAYTYPE_DOMAIN});
        } else if (Authority* domain = net.FindAuthority(name); domain && domain->isDomain) {
            for (auto& computer : net.computers_)
                if (Same(computer->domain, name))
                    entries.push_back({L"\\\\" + computer->name, RESOURCEDISPLAYTYPE_SERVER});
        } else if (container && name != kLoopingContainer) {
            known = false;
        }
        return entries;
    }

    static DWORD WINAPI WNetOpenEnumW(DWORD, DWORD, DWORD, LPNETRESOURCEW container, LPHANDLE handle)
    {
        *handle = nullptr;
        if (DWORD status = Net().ScriptedFailure(Call::NetworkBrowse))
            return status;
        bool known;
        auto enumeration = std::make_unique<SimulatedNetwork::Enumeration>();
        enumeration->entries = Children(container, known);
        if (!known)
            return ERROR_BAD_NETPATH;
        *handle = enumeration.get();
        Net().enumerations_[enumeration.get()] = std::move(enumeration);
        return NO_ERROR;
    }

    static DWORD WINAPI WNetEnumResourceW(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD bytes)
    {
        auto found = Net().enumerations_.find(handle);
        if (found == Net().enumerations_.end())
            return ERROR_INVALID_HANDLE;
        if (Net().enumerationDelay_)
            Sleep(Net().enumerationDelay_);
        SimulatedNetwork::Enumeration& enumeration = *found->second;
        if (enumeration.next >= enumeration.entries.size())
            return ERROR_NO_MORE_ITEMS;
        auto resources = static_cast<NETRESOURCEW*>(buffer);
        BYTE* end = static_cast<BYTE*>(buffer) + *bytes;
        DWORD given = 0;
        size_t used = 0;
        while (given < *count && (!Net().pageEntries_ || given < Net().pageEntries_)
               && enumeration.next < enumeration.entries.size()) {
            const auto& entry = enumeration.entries[enumeration.next];
            size_t need = sizeof(NETRESOURCEW) + (entry.remoteName.size() + wcslen(kProvider) + 2) * sizeof(wchar_t);
            if (used + need > *bytes) {
                if (given == 0) {
                    *bytes = static_cast<DWORD>(need);
                    return ERROR_MORE_DATA;
                }
                break;
            }
            NETRESOURCEW& resource = resources[given++];
            resource = {};
            resource.dwScope = RESOURCE_GLOBALNET;
            resource.dwType = RESOURCETYPE_ANY;
            resource.dwDisplayType = entry.displayType;
            resource.dwUsage = RESOURCEUSAGE_CONTAINER;
            resource.lpRemoteName = PlaceText(end, entry.remoteName);
            resource.lpProvider = PlaceText(end, kProvider);
            used += need;
            ++enumeration.next;
        }
        *count = given;
        return NO_ERROR;
    }

    static DWORD WINAPI WNetCloseEnum(HANDLE handle)
    {
        return Net().enumerations_.erase(handle) ? NO_ERROR : ERROR_INVALID_HANDLE;
    }

    static BOOL Refuse(DWORD error)
    {
        SetLastError(error);
        return FALSE;
    }

    // The account `system` sees that `matches`; the lookup's error when
    // there is none.
    template <typename Matches>
    static DWORD Lookup(LPCWSTR system, SimulatedNetwork::Found& found, Matches matches)
    {
        auto computer = Net().ServerComputer(system);
        if (!computer)
            return RPC_S_SERVER_UNAVAILABLE;
        return Net().FindAccount(*computer, matches, found) ? NO_ERROR : ERROR_NONE_MAPPED;
    }

    static BOOL Answer(bool fits, SID_NAME_USE found, PSID_NAME_USE kind)
    {
        if (!fits)
            return Refuse(ERROR_INSUFFICIENT_BUFFER);
        *kind = found;
        return TRUE;
    }

    static BOOL WINAPI LookupAccountNameW(LPCWSTR system, LPCWSTR name, PSID sid, LPDWORD sidBytes, LPWSTR domain,
                                          LPDWORD domainChars, PSID_NAME_USE kind)
    {
        std::wstring account = name;
        size_t backslash = account.find(L'\\');
        std::wstring prefix = backslash == std::wstring::npos ? L"" : account.substr(0, backslash);
        std::wstring user = account.substr(backslash == std::wstring::npos ? 0 : backslash + 1);
        SimulatedNetwork::Found found;
        DWORD error = Lookup(system, found, [&](const SimulatedNetwork::Found& candidate) {
            return Same(candidate.name, user) && (prefix.empty() || Same(candidate.domain, prefix));
        });
        if (error)
            return Refuse(error);
        bool sidFits = sid && *sidBytes >= found.sid.size();
        if (sidFits)
            memcpy(sid, found.sid.data(), found.sid.size());
        *sidBytes = static_cast<DWORD>(found.sid.size());
        return Answer(GiveText(found.domain, domain, *domainChars) && sidFits, found.kind, kind);
    }

    static BOOL WINAPI LookupAccountSidW(LPCWSTR system, PSID sid, LPWSTR name, LPDWORD nameChars, LPWSTR domain,
                                         LPDWORD domainChars, PSID_NAME_USE kind)
    {
        SimulatedNetwork::Found found;
        DWORD error = Lookup(system, found,
                             [&](const SimulatedNetwork::Found& candidate) { return SameSid(candidate.sid, sid); });
        if (error)
            return Refuse(error);
        bool nameFits = GiveText(found.name, name, *nameChars);
        return Answer(GiveText(found.domain, domain, *domainChars) && nameFits, found.kind, kind);
    }

    static LSA_HANDLE Open(Authority* store, std::vector<BYTE> sid)
    {
        auto object = std::make_unique<LsaObject>(LsaObject{store, std::move(sid)});
        LSA_HANDLE handle = object.get();
        Net().lsaHandles_[handle] = std::move(object);
        return handle;
    }

    // The common start of the calls on a policy or account handle: counts
    // the call, then answers its scripted failure or a bad handle; 0 lets it
    // go on. The account-object calls answer "not implemented" where the
    // platform lacks them.
    static NTSTATUS OnHandle(Call call, LSA_HANDLE handle, LsaObject*& object, bool accountObjectCall = true)
    {
        DWORD scripted = Net().ScriptedFailure(call);
        if (accountObjectCall && Net().withoutAccountObjects_)
            return kStatusNotImplemented;
        if (scripted)
            return static_cast<NTSTATUS>(scripted);
        auto found = Net().lsaHandles_.find(handle);
        object = found == Net().lsaHandles_.end() ? nullptr : found->second.get();
        return object ? kStatusSuccess : kStatusInvalidHandle;
    }

    static NTSTATUS NTAPI LsaOpenPolicy(PLSA_UNICODE_STRING system, PLSA_OBJECT_ATTRIBUTES, ACCESS_MASK,
                                        PLSA_HANDLE policy)
    {
        if (DWORD scripted = Net().ScriptedFailure(Call::LsaOpenPolicy))
            return static_cast<NTSTATUS>(scripted);
        std::wstring name = system && system->Buffer ? std::wstring(system->Buffer, system->Length / sizeof(wchar_t))
                                                     : L"";
        auto computer = Net().ServerComputer(name.c_str());
        if (!computer)
            return kStatusServerUnavailable;
        *policy = Open(&Net().StoreOf(*computer), {});
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaClose(LSA_HANDLE handle)
    {
        return Net().lsaHandles_.erase(handle) ? kStatusSuccess : kStatusInvalidHandle;
    }

    static NTSTATUS NTAPI LsaOpenAccount(LSA_HANDLE policy, PSID sid, ACCESS_MASK, PLSA_HANDLE account)
    {
        LsaObject* object;
        if (NTSTATUS status = OnHandle(Call::LsaOpenAccount, policy, object))
            return status;
        if (!object->store->lsa.count(CopySid(sid)))
            return kStatusNotFound;
        *account = Open(object->store, CopySid(sid));
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaCreateAccount(LSA_HANDLE policy, PSID sid, ACCESS_MASK, PLSA_HANDLE account)
    {
        LsaObject* object;
        if (NTSTATUS status = OnHandle(Call::LsaCreateAccount, policy, object))
            return status;
        if (object->store->lsa.count(CopySid(sid)))
            return kStatusCollision;
        object->store->lsa[CopySid(sid)];
        *account = Open(object->store, CopySid(sid));
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaGetSystemAccessAccount(LSA_HANDLE account, PULONG modes)
    {
        LsaObject* object;
        if (NTSTATUS status = OnHandle(Call::LsaGetSystemAccessAccount, account, object))
            return status;
        *modes = object->store->lsa[object->sid];
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaSetSystemAccessAccount(LSA_HANDLE account, ULONG modes)
    {
        LsaObject* object;
        if (NTSTATUS status = OnHandle(Call::LsaSetSystemAccessAccount, account, object))
            return status;
        object->store->lsa[object->sid] = modes;
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaEnumerateAccountRights(LSA_HANDLE policy, PSID sid, PLSA_UNICODE_STRING* rights,
                                                    PULONG count)
    {
        *rights = nullptr;
        *count = 0;
        LsaObject* object;
        if (NTSTATUS status = OnHandle(Call::LsaEnumerateAccountRights, policy, object, false))
            return status;
        auto found = object->store->lsa.find(CopySid(sid));
        if (found == object->store->lsa.end())
            return kStatusNotFound;
        std::vector<std::wstring> names;
        for (const LogonRight& right : kLogonRights)
            if (found->second & right.mode)
                names.push_back(right.name);
        if (names.empty())
            return kStatusNotFound;
        size_t bytes = names.size() * sizeof(LSA_UNICODE_STRING);
        for (const auto& name : names)
            bytes += TextBytes(name);
        BYTE* end;
        auto list = reinterpret_cast<LSA_UNICODE_STRING*>(Net().Allocate(bytes, end));
        for (size_t i = 0; i < names.size(); ++i) {
            list[i].Buffer = PlaceText(end, names[i]);
            list[i].Length = static_cast<USHORT>(names[i].size() * sizeof(wchar_t));
            list[i].MaximumLength = static_cast<USHORT>(list[i].Length + sizeof(wchar_t));
        }
        *rights = list;
        *count = static_cast<ULONG>(names.size());
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaAddAccountRights(LSA_HANDLE policy, PSID sid, PLSA_UNICODE_STRING rights, ULONG count)
    {
        LsaObject* object;
        if (NTSTATUS status = OnHandle(Call::LsaAddAccountRights, policy, object, false))
            return status;
        ULONG& held = object->store->lsa[CopySid(sid)];
        for (ULONG i = 0; i < count; ++i) {
            std::wstring name(rights[i].Buffer, rights[i].Length / sizeof(wchar_t));
            auto logon = std::find_if(std::begin(kLogonRights), std::end(kLogonRights),
                                      [&](const LogonRight& right) { return name == right.name; });
            if (logon == std::end(kLogonRights))
                Misuse("the simulated network keeps logon rights only", name);
            held |= logon->mode;
        }
        return kStatusSuccess;
    }

    static NTSTATUS NTAPI LsaFreeMemory(PVOID buffer)
    {
        return !buffer || Net().buffers_.erase(buffer) ? kStatusSuccess : kStatusInvalidHandle;
    }

    // True, with the error set, when the scripted failure takes this call.
    static bool ServiceFails(SimulatedNetwork::ServiceFailure& failure)
    {
        if (failure.times == 0)
            return false;
        if (failure.times > 0)
            --failure.times;
        SetLastError(failure.error);
        return true;
    }

    static SC_HANDLE WINAPI CreateServiceW(SC_HANDLE manager, LPCWSTR name, LPCWSTR display, DWORD access,
                                           DWORD type, DWORD start, DWORD errorControl, LPCWSTR path,
                                           LPCWSTR group, LPDWORD tag, LPCWSTR dependencies, LPCWSTR account,
                                           LPCWSTR password)
    {
        if (ServiceFails(Net().createFailure_))
            return nullptr;
        return Net().saved_.CreateServiceW(manager, name, display, access, type, start, errorControl, path, group,
                                           tag, dependencies, account, password);
    }

    static BOOL WINAPI StartServiceW(SC_HANDLE service, DWORD count, LPCWSTR* arguments)
    {
        ++Net().serviceStarts_;
        if (ServiceFails(Net().startFailure_))
            return FALSE;
        return Net().saved_.StartServiceW(service, count, arguments);
    }
};

SimulatedNetwork::SimulatedNetwork()
{
    if (current_)
        Misuse("one simulated network at a time", L"");
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD chars = ARRAYSIZE(name);
    GetComputerNameW(name, &chars);
    thisComputer_ = name;
    AddComputer(thisComputer_, L"");

    saved_ = Platform();
    current_ = this;
    PlatformCalls& calls = Platform();
#define SIMULATE(call) calls.call = &Entries::call;
    SIMULATE(NetGetDCName) SIMULATE(NetUserAdd) SIMULATE(NetGroupGetUsers) SIMULATE(NetLocalGroupGetMembers)
    SIMULATE(NetLocalGroupAddMember) SIMULATE(NetWkstaGetInfo) SIMULATE(NetApiBufferFree)
    SIMULATE(WNetOpenEnumW) SIMULATE(WNetEnumResourceW) SIMULATE(WNetCloseEnum)
    SIMULATE(LookupAccountNameW) SIMULATE(LookupAccountSidW)
    SIMULATE(LsaOpenPolicy) SIMULATE(LsaClose) SIMULATE(LsaOpenAccount) SIMULATE(LsaCreateAccount)
    SIMULATE(LsaGetSystemAccessAccount) SIMULATE(LsaSetSystemAccessAccount) SIMULATE(LsaEnumerateAccountRights)
    SIMULATE(LsaAddAccountRights) SIMULATE(LsaFreeMemory)
    SIMULATE(CreateServiceW) SIMULATE(StartServiceW)
#undef SIMULATE
}

SimulatedNetwork::~SimulatedNetwork()
{
    Platform() = saved_;
    current_ = nullptr;
}

SimulatedNetwork::Authority& SimulatedNetwork::NewAuthority(const std::wstring& name, bool isDomain)
{
    authorities_.push_back(std::make_unique<Authority>());
    Authority& authority = *authorities_.back();
    authority.name = name;
    authority.isDomain = isDomain;
    authority.id = nextAuthorityId_++;
    return authority;
}

void SimulatedNetwork::AddDomain(const std::wstring& domain, const std::wstring& controller)
{
    Authority& authority = NewAuthority(domain, true);
    if (controller.empty())
        return;
    if (Same(controller, thisComputer_)) {
        BecomeController(domain);
        return;
    }
    AddComputer(controller, domain);
    computers_.back()->controller = true;
    authority.controller = controller;
}

void SimulatedNetwork::AddComputer(const std::wstring& computer, const std::wstring& domain)
{
    computers_.push_back(std::make_unique<Computer>(Computer{computer, domain, false, &NewAuthority(computer, false)}));
}

void SimulatedNetwork::JoinDomain(const std::wstring& domain)
{
    FindComputer(thisComputer_)->domain = domain;
}

void SimulatedNetwork::BecomeController(const std::wstring& domain)
{
    Computer& self = *FindComputer(thisComputer_);
    self.domain = domain;
    self.controller = true;
    AuthorityNamed(domain).controller = thisComputer_;
}

void SimulatedNetwork::Trust(const std::wstring& domain, const std::wstring& trusted)
{
    AuthorityNamed(domain).trusts.push_back(trusted);
}

void SimulatedNetwork::AddUser(const std::wstring& where, const std::wstring& user)
{
    AuthorityNamed(where).Add(user, SidTypeUser);
}

void SimulatedNetwork::AddGlobalGroup(const std::wstring& domain, const std::wstring& group,
                                      const std::vector<std::wstring>& users)
{
    AuthorityNamed(domain).Add(group, SidTypeGroup).members = users;
}

void SimulatedNetwork::AddAdministrator(const std::wstring& where, const std::wstring& account)
{
    AuthorityNamed(where).administrators.push_back(SidOf(account));
}

bool SimulatedNetwork::IsDirectAdministrator(const std::wstring& where, const std::wstring& account) const
{
    const auto& members = AuthorityNamed(where).administrators;
    return std::find(members.begin(), members.end(), SidOf(account)) != members.end();
}

const SimulatedNetwork::User* SimulatedNetwork::FindUser(const std::wstring& where, const std::wstring& user) const
{
    Authority::Account* account = AuthorityNamed(where).Find(user);
    return account && account->kind == SidTypeUser ? &account->user : nullptr;
}

void SimulatedNetwork::SetLogonModes(const std::wstring& where, const std::wstring& account, ULONG modes)
{
    AuthorityNamed(where).lsa[SidOf(account)] = modes;
}

bool SimulatedNetwork::HasAccountObject(const std::wstring& where, const std::wstring& account) const
{
    return AuthorityNamed(where).lsa.count(SidOf(account)) != 0;
}

ULONG SimulatedNetwork::LogonModes(const std::wstring& where, const std::wstring& account) const
{
    const auto& lsa = AuthorityNamed(where).lsa;
    auto found = lsa.find(SidOf(account));
    return found == lsa.end() ? 0 : found->second;
}

