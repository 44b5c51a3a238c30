#include "support/simulated_network.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <iterator>

#include "services/accounts.h"

namespace simulated {

using Call = SimulatedNetwork::Call;
using Account = SimulatedNetwork::Account;

constexpr NTSTATUS kStatusNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kStatusCollision = static_cast<NTSTATUS>(0xC0000035);
// A caller that never stops asking for the next page is cut off here.
constexpr int kRunawayCalls = 100;
// Each page entry, right, name or SID gets this much room.
constexpr size_t kEntryBytes = 600;
// Account i's SID is S-1-5-21-(kFirstRid + i).
constexpr DWORD kFirstRid = 1000;

const struct {
    ULONG mode;
    const wchar_t* name;
} kLogonRights[] = {{0x1, L"SeInteractiveLogonRight"},
                    {0x2, L"SeNetworkLogonRight"},
                    {0x4, L"SeBatchLogonRight"},
                    {kServiceLogonMode, L"SeServiceLogonRight"}};

SimulatedNetwork* net;

bool Same(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

std::vector<BYTE> MakeSid(DWORD authority, DWORD rid)
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    std::vector<BYTE> sid(GetSidLengthRequired(2));
    InitializeSid(sid.data(), &nt, 2);
    *GetSidSubAuthority(sid.data(), 0) = authority;
    *GetSidSubAuthority(sid.data(), 1) = rid;
    return sid;
}

std::vector<BYTE> SidOf(const Account* account)
{
    return MakeSid(SECURITY_NT_NON_UNIQUE, kFirstRid + static_cast<DWORD>(account - net->accounts.data()));
}

// The account named STORE\name; aborts without one, a fault of the test.
const Account* Named(const std::wstring& account)
{
    size_t slash = account.find(L'\\');
    const Account* found = net->FindAccount(account.substr(0, slash), account.substr(slash + 1));
    if (!found)
        abort();
    return found;
}

// The account a SID names; null for another SID.
const Account* AccountOf(PSID sid)
{
    DWORD index = *GetSidSubAuthority(sid, 1) - kFirstRid;
    bool ours = *GetSidSubAuthorityCount(sid) == 2 && *GetSidSubAuthority(sid, 0) == SECURITY_NT_NON_UNIQUE;
    return ours && index < net->accounts.size() ? &net->accounts[index] : nullptr;
}

std::wstring NameOf(PSID sid)
{
    const Account* account = AccountOf(sid);
    return account ? account->store + L"\\" + account->name : L"";
}

// The computer `server` names (null: this computer); null for none.
const SimulatedNetwork::Computer* ComputerAt(const wchar_t* server)
{
    std::wstring name = server && *server ? server + wcsspn(server, L"\\") : net->thisComputer;
    for (const auto& computer : net->computers)
        if (Same(computer.name, name))
            return &computer;
    return nullptr;
}

// The store of the computer `server` names; empty for none.
std::wstring StoreAt(const wchar_t* server)
{
    const SimulatedNetwork::Computer* computer = ComputerAt(server);
    return !computer ? L"" : computer->controller ? computer->domain : computer->name;
}

// Counts the call; its scripted status, 0 when it has none.
DWORD Scripted(Call call)
{
    ++net->calls[call];
    auto failure = net->failures.find(call);
    if (failure == net->failures.end() || failure->second.second == 0)
        return 0;
    if (failure->second.second > 0)
        --failure->second.second;
    return failure->second.first;
}

BYTE* Allocate(size_t entries, BYTE*& end)
{
    auto block = static_cast<BYTE*>(calloc(entries + 1, kEntryBytes));
    net->buffers.insert(block);
    end = block + (entries + 1) * kEntryBytes;
    return block;
}

// Copies `text` in front of `end`, a buffer being filled from both ends.
wchar_t* Place(BYTE*& end, const std::wstring& text)
{
    end -= (text.size() + 1) * sizeof(wchar_t);
    return static_cast<wchar_t*>(memcpy(end, text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
}

// Copies `text` into a caller's buffer of `chars`, as the lookups do.
bool GiveText(const std::wstring& text, wchar_t* buffer, DWORD& chars)
{
    bool fits = buffer && chars > text.size();
    if (fits)
        memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    chars = static_cast<DWORD>(fits ? text.size() : text.size() + 1);
    return fits;
}

BOOL Answer(DWORD error, SID_NAME_USE found = SidTypeUnknown, PSID_NAME_USE kind = nullptr)
{
    SetLastError(error);
    if (!error && kind)
        *kind = found;
    return !error;
}

// One page of `all` from *resume on, each entry made by `fill`.
template <typename Item, typename Fill>
NET_API_STATUS Page(Call call, const std::vector<std::wstring>& all, LPBYTE* buffer, LPDWORD read, LPDWORD total,
                    PDWORD_PTR resume, Fill fill)
{
    if (net->calls[call] > kRunawayCalls)
        return NERR_InternalError;
    DWORD start = static_cast<DWORD>(*resume);
    DWORD left = start < all.size() ? static_cast<DWORD>(all.size()) - start : 0;
    bool empty = net->emptyMoreData.count(call) != 0;
    DWORD count = empty ? 0 : net->pageEntries && left > net->pageEntries ? net->pageEntries : left;
    BYTE* end;
    *buffer = Allocate(count, end);
    for (DWORD i = 0; i < count; ++i)
        fill(reinterpret_cast<Item*>(*buffer)[i], all[start + i], end);
    *read = count;
    *total = left;
    *resume = start + count;
    return count < left || empty ? ERROR_MORE_DATA : NERR_Success;
}

NET_API_STATUS WINAPI NetGetDCName(LPCWSTR server, LPCWSTR domainName, LPBYTE* buffer)
{
    *buffer = nullptr;
    if (DWORD status = Scripted(Call::NetGetDCName))
        return status;
    std::wstring name = domainName && *domainName ? domainName : ComputerAt(server)->domain;
    for (const auto& domain : net->domains) {
        if (!name.empty() && Same(domain.name, name) && !domain.controller.empty()) {
            BYTE* end;
            *buffer = Allocate(0, end);
            wcscpy(reinterpret_cast<wchar_t*>(*buffer), (L"\\\\" + domain.controller).c_str());
            return NERR_Success;
        }
    }
    return NERR_DCNotFound;
}

NET_API_STATUS WINAPI NetUserAdd(LPCWSTR server, DWORD, LPBYTE buffer, LPDWORD)
{
    if (DWORD status = Scripted(Call::NetUserAdd))
        return status;
    auto user = reinterpret_cast<const USER_INFO_1*>(buffer);
    if (net->FindAccount(StoreAt(server), user->usri1_name))
        return NERR_UserExists;
    net->accounts.push_back({StoreAt(server), user->usri1_name, SidTypeUser, {}, user->usri1_password,
                             user->usri1_comment, user->usri1_priv, user->usri1_flags});
    return NERR_Success;
}

NET_API_STATUS WINAPI NetGroupGetUsers(LPCWSTR server, LPCWSTR group, DWORD, LPBYTE* buffer, DWORD, LPDWORD read,
                                       LPDWORD total, PDWORD_PTR resume)
{
    *buffer = nullptr;
    *read = *total = 0;
    if (DWORD status = Scripted(Call::NetGroupGetUsers))
        return status;
    const Account* found = net->FindAccount(StoreAt(server), group);
    if (!found || found->kind != SidTypeGroup)
        return NERR_GroupNotFound;
    return Page<GROUP_USERS_INFO_0>(Call::NetGroupGetUsers, found->members, buffer, read, total, resume,
                                    [](GROUP_USERS_INFO_0& item, const std::wstring& user, BYTE*& end) {
                                        item.grui0_name = Place(end, user);
                                    });
}

NET_API_STATUS WINAPI NetLocalGroupGetMembers(LPCWSTR server, LPCWSTR alias, DWORD, LPBYTE* buffer, DWORD,
                                              LPDWORD read, LPDWORD total, PDWORD_PTR resume)
{
    *buffer = nullptr;
    *read = *total = 0;
    if (DWORD status = Scripted(Call::NetLocalGroupGetMembers))
        return status;
    if (!Same(alias, L"Administrators"))
        return ERROR_NO_SUCH_ALIAS;
    return Page<LOCALGROUP_MEMBERS_INFO_0>(Call::NetLocalGroupGetMembers, net->administrators[StoreAt(server)],
                                           buffer, read, total, resume,
                                           [](LOCALGROUP_MEMBERS_INFO_0& item, const std::wstring& member, BYTE*& end) {
                                               std::vector<BYTE> sid = SidOf(Named(member));
                                               end -= sid.size();
                                               item.lgrmi0_sid = memcpy(end, sid.data(), sid.size());
                                           });
}

NET_API_STATUS WINAPI NetLocalGroupAddMember(LPCWSTR server, LPCWSTR alias, PSID member)
{
    if (DWORD status = Scripted(Call::NetLocalGroupAddMember))
        return status;
    if (!Same(alias, L"Administrators"))
        return ERROR_NO_SUCH_ALIAS;
    if (net->IsAdministrator(StoreAt(server), NameOf(member)))
        return ERROR_MEMBER_IN_ALIAS;
    net->administrators[StoreAt(server)].push_back(NameOf(member));
    return NERR_Success;
}

NET_API_STATUS WINAPI NetWkstaGetInfo(LMSTR server, DWORD, LPBYTE* buffer)
{
    *buffer = nullptr;
    if (DWORD status = Scripted(Call::NetWkstaGetInfo))
        return status;
    const std::wstring& domain = ComputerAt(server)->domain;
    BYTE* end;
    *buffer = Allocate(1, end);
    reinterpret_cast<WKSTA_INFO_100*>(*buffer)->wki100_langroup = Place(end, domain.empty() ? L"WORKGROUP" : domain);
    return NERR_Success;
}

NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer)
{
    if (!net->buffers.erase(buffer))
        return ERROR_INVALID_PARAMETER;
    free(buffer);
    return NERR_Success;
}

DWORD WINAPI WNetOpenEnumW(DWORD, DWORD, DWORD, LPNETRESOURCEW container, LPHANDLE handle)
{
    *handle = nullptr;
    if (DWORD status = Scripted(Call::WNetOpenEnumW))
        return status;
    *handle = reinterpret_cast<HANDLE>(++net->lastHandle);
    net->enumerations[*handle] = {container && container->lpRemoteName ? container->lpRemoteName : L"", 0};
    return NO_ERROR;
}

DWORD WINAPI WNetEnumResourceW(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD bytes)
{
    auto& [container, next] = net->enumerations.at(handle);
    Sleep(net->enumerationDelayMs);
    auto resources = static_cast<NETRESOURCEW*>(buffer);
    BYTE* end = static_cast<BYTE*>(buffer) + *bytes;
    DWORD given = 0;
    for (; next < net->browse.size() && given < *count && (!net->pageEntries || given < net->pageEntries); ++next) {
        const SimulatedNetwork::BrowseEntry& entry = net->browse[next];
        if (!Same(entry.container, container))
            continue;
        if (reinterpret_cast<BYTE*>(&resources[given + 1]) + (entry.name.size() + 1) * sizeof(wchar_t) > end)
            break;
        resources[given] = {};
        resources[given].dwDisplayType = entry.displayType;
        resources[given++].lpRemoteName = Place(end, entry.name);
    }
    *count = given;
    return given ? NO_ERROR : ERROR_NO_MORE_ITEMS;
}

DWORD WINAPI WNetCloseEnum(HANDLE handle)
{
    return net->enumerations.erase(handle) ? NO_ERROR : ERROR_INVALID_HANDLE;
}

// An unqualified name is found in the first store that `system` sees: its
// own, its domain's, then those its domain trusts.
BOOL WINAPI LookupAccountNameW(LPCWSTR system, LPCWSTR name, PSID sid, LPDWORD sidBytes, LPWSTR domain,
                               LPDWORD domainChars, PSID_NAME_USE kind)
{
    const SimulatedNetwork::Computer* computer = ComputerAt(system);
    if (!computer)
        return Answer(RPC_S_SERVER_UNAVAILABLE);
    std::vector<std::wstring> stores{StoreAt(system)};
    for (const auto& trusting : net->domains) {
        if (Same(trusting.name, computer->domain)) {
            stores.push_back(trusting.name);
            stores.insert(stores.end(), trusting.trusts.begin(), trusting.trusts.end());
        }
    }
    std::wstring account = name;
    size_t slash = account.find(L'\\');
    for (const std::wstring& store : stores) {
        const Account* found = net->FindAccount(store, account.substr(slash + 1));
        if (!found || (slash != std::wstring::npos && !Same(account.substr(0, slash), store)))
            continue;
        std::vector<BYTE> foundSid = SidOf(found);
        bool sidFits = sid && *sidBytes >= foundSid.size();
        if (sidFits)
            memcpy(sid, foundSid.data(), foundSid.size());
        *sidBytes = static_cast<DWORD>(foundSid.size());
        bool fits = GiveText(found->store, domain, *domainChars) && sidFits;
        return Answer(fits ? NO_ERROR : ERROR_INSUFFICIENT_BUFFER, found->kind, kind);
    }
    return Answer(ERROR_NONE_MAPPED);
}

BOOL WINAPI LookupAccountSidW(LPCWSTR, PSID sid, LPWSTR name, LPDWORD nameChars, LPWSTR domain, LPDWORD domainChars,
                              PSID_NAME_USE kind)
{
    const Account* account = AccountOf(sid);
    Account administrators{L"BUILTIN", L"Administrators", SidTypeAlias};
    if (EqualSid(sid, MakeSid(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS).data()))
        account = &administrators;
    if (!account)
        return Answer(ERROR_NONE_MAPPED);
    bool nameFits = GiveText(account->name, name, *nameChars);
    bool fits = GiveText(account->store, domain, *domainChars) && nameFits;
    return Answer(fits ? NO_ERROR : ERROR_INSUFFICIENT_BUFFER, account->kind, kind);
}

LSA_HANDLE OpenLsa(const SimulatedNetwork::AccountObject& object)
{
    auto handle = reinterpret_cast<LSA_HANDLE>(++net->lastHandle);
    net->lsaHandles[handle] = object;
    return handle;
}

// Counts the call and answers its scripted failure, or "not implemented"
// for an account-object call where the platform lacks them; 0 lets it go on.
NTSTATUS LsaStart(Call call, bool accountObjectCall = true)
{
    DWORD scripted = Scripted(call);
    return accountObjectCall && net->withoutAccountObjects ? kStatusNotImplemented : static_cast<NTSTATUS>(scripted);
}

// The account object of `sid` in the policy `policy`.
SimulatedNetwork::AccountObject ObjectOf(LSA_HANDLE policy, PSID sid)
{
    return {net->lsaHandles.at(policy).first, NameOf(sid)};
}

NTSTATUS NTAPI LsaOpenPolicy(PLSA_UNICODE_STRING system, PLSA_OBJECT_ATTRIBUTES, ACCESS_MASK, PLSA_HANDLE policy)
{
    if (NTSTATUS status = LsaStart(Call::LsaOpenPolicy, false))
        return status;
    std::wstring name = system ? std::wstring(system->Buffer, system->Length / sizeof(wchar_t)) : L"";
    *policy = OpenLsa({StoreAt(name.c_str()), L""});
    return 0;
}

NTSTATUS NTAPI LsaClose(LSA_HANDLE handle)
{
    net->lsaHandles.erase(handle);
    return 0;
}

NTSTATUS NTAPI LsaOpenAccount(LSA_HANDLE policy, PSID sid, ACCESS_MASK, PLSA_HANDLE account)
{
    if (NTSTATUS status = LsaStart(Call::LsaOpenAccount))
        return status;
    if (!net->logonModes.count(ObjectOf(policy, sid)))
        return kStatusNotFound;
    *account = OpenLsa(ObjectOf(policy, sid));
    return 0;
}

NTSTATUS NTAPI LsaCreateAccount(LSA_HANDLE policy, PSID sid, ACCESS_MASK, PLSA_HANDLE account)
{
    if (NTSTATUS status = LsaStart(Call::LsaCreateAccount))
        return status;
    if (!net->logonModes.emplace(ObjectOf(policy, sid), 0).second)
        return kStatusCollision;
    *account = OpenLsa(ObjectOf(policy, sid));
    return 0;
}

NTSTATUS NTAPI LsaGetSystemAccessAccount(LSA_HANDLE account, PULONG modes)
{
    if (NTSTATUS status = LsaStart(Call::LsaGetSystemAccessAccount))
        return status;
    *modes = net->logonModes.at(net->lsaHandles.at(account));
    return 0;
}

NTSTATUS NTAPI LsaSetSystemAccessAccount(LSA_HANDLE account, ULONG modes)
{
    if (NTSTATUS status = LsaStart(Call::LsaSetSystemAccessAccount))
        return status;
    net->logonModes.at(net->lsaHandles.at(account)) = modes;
    return 0;
}

NTSTATUS NTAPI LsaEnumerateAccountRights(LSA_HANDLE policy, PSID sid, PLSA_UNICODE_STRING* rights, PULONG count)
{
    *rights = nullptr;
    *count = 0;
    if (NTSTATUS status = LsaStart(Call::LsaEnumerateAccountRights, false))
        return status;
    ULONG modes = net->logonModes.count(ObjectOf(policy, sid)) ? net->logonModes[ObjectOf(policy, sid)] : 0;
    if (!modes)
        return kStatusNotFound;
    BYTE* end;
    *rights = reinterpret_cast<LSA_UNICODE_STRING*>(Allocate(std::size(kLogonRights), end));
    for (const auto& right : kLogonRights) {
        if (modes & right.mode) {
            LSA_UNICODE_STRING& text = (*rights)[(*count)++];
            text.Buffer = Place(end, right.name);
            text.Length = text.MaximumLength = static_cast<USHORT>(wcslen(right.name) * sizeof(wchar_t));
        }
    }
    return 0;
}

NTSTATUS NTAPI LsaAddAccountRights(LSA_HANDLE policy, PSID sid, PLSA_UNICODE_STRING rights, ULONG count)
{
    if (NTSTATUS status = LsaStart(Call::LsaAddAccountRights, false))
        return status;
    for (ULONG i = 0; i < count; ++i)
        for (const auto& right : kLogonRights)
            if (std::wstring(rights[i].Buffer, rights[i].Length / sizeof(wchar_t)) == right.name)
                net->logonModes[ObjectOf(policy, sid)] |= right.mode;
    return 0;
}

NTSTATUS NTAPI LsaFreeMemory(PVOID buffer)
{
    return buffer ? NetApiBufferFree(buffer) : 0;
}

SC_HANDLE WINAPI CreateServiceW(SC_HANDLE manager, LPCWSTR name, LPCWSTR display, DWORD access, DWORD type,
                                DWORD start, DWORD errorControl, LPCWSTR path, LPCWSTR group, LPDWORD tag,
                                LPCWSTR dependencies, LPCWSTR account, LPCWSTR password)
{
    if (DWORD error = Scripted(Call::CreateServiceW)) {
        SetLastError(error);
        return nullptr;
    }
    return net->saved.CreateServiceW(manager, name, display, access, type, start, errorControl, path, group, tag,
                                     dependencies, account, password);
}

BOOL WINAPI StartServiceW(SC_HANDLE service, DWORD count, LPCWSTR* arguments)
{
    if (DWORD error = Scripted(Call::StartServiceW))
        return Answer(error);
    return net->saved.StartServiceW(service, count, arguments);
}

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD chars = ARRAYSIZE(name);
    GetComputerNameW(name, &chars);
    return name;
}

}  // namespace simulated

using namespace simulated;

SimulatedNetwork::SimulatedNetwork() : thisComputer(ComputerName())
{
    if (net)
        abort();
    computers.push_back({thisComputer, L"", false});
    browse.push_back({L"", L"Windows Network", RESOURCEDISPLAYTYPE_NETWORK});
    saved = Platform();
    net = this;
    PlatformCalls& table = Platform();
#define SIMULATE(call) table.call = &simulated::call;
    SIMULATE(NetGetDCName) SIMULATE(NetUserAdd) SIMULATE(NetGroupGetUsers) SIMULATE(NetLocalGroupGetMembers)
    SIMULATE(NetLocalGroupAddMember) SIMULATE(NetWkstaGetInfo) SIMULATE(NetApiBufferFree) SIMULATE(WNetOpenEnumW)
    SIMULATE(WNetEnumResourceW) SIMULATE(WNetCloseEnum) SIMULATE(LookupAccountNameW) SIMULATE(LookupAccountSidW)
    SIMULATE(LsaOpenPolicy) SIMULATE(LsaClose) SIMULATE(LsaOpenAccount) SIMULATE(LsaCreateAccount)
    SIMULATE(LsaGetSystemAccessAccount) SIMULATE(LsaSetSystemAccessAccount) SIMULATE(LsaEnumerateAccountRights)
    SIMULATE(LsaAddAccountRights) SIMULATE(LsaFreeMemory) SIMULATE(CreateServiceW) SIMULATE(StartServiceW)
#undef SIMULATE
}

SimulatedNetwork::~SimulatedNetwork()
{
    Platform() = saved;
    net = nullptr;
    for (void* buffer : buffers)
        free(buffer);
}

void SimulatedNetwork::AddDomain(const std::wstring& domain, const std::wstring& controller,
                                 const std::vector<std::wstring>& trusts)
{
    domains.push_back({domain, controller, trusts});
    browse.push_back({L"Windows Network", domain, RESOURCEDISPLAYTYPE_DOMAIN});
    if (Same(controller, thisComputer))
        computers[0] = {thisComputer, domain, true};
    else if (!controller.empty())
        computers.push_back({controller, domain, true});
}

const SimulatedNetwork::Account* SimulatedNetwork::FindAccount(const std::wstring& store,
                                                               const std::wstring& name) const
{
    for (const Account& account : accounts)
        if (Same(account.store, store) && Same(account.name, name))
            return &account;
    return nullptr;
}

bool SimulatedNetwork::IsAdministrator(const std::wstring& store, const std::wstring& account) const
{
    auto members = administrators.find(store);
    for (size_t i = 0; members != administrators.end() && i < members->second.size(); ++i)
        if (Same(members->second[i], account))
            return true;
    return false;
}
