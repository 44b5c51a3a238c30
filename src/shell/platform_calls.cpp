#include "shell/platform_calls.h"

#include <tuple>
#include <type_traits>

#include "shell/fault_guard.h"
#include "shell/handles.h"
#include "shell/late_bound.h"

namespace {

// What an entry answers when the platform lacks its function: each kind of
// call fails in its own way.
template <typename Result>
Result NotImplemented()
{
    if constexpr (std::is_same_v<Result, NTSTATUS>) {
        return kStatusNotImplemented;
    } else if constexpr (std::is_same_v<Result, DWORD>) {
        return ERROR_CALL_NOT_IMPLEMENTED;
    } else {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return Result{};
    }
}

template <typename Call>
struct Missing;

template <typename Result, typename... Args>
struct Missing<Result(WINAPI*)(Args...)> {
    static Result WINAPI Call(Args...) { return NotImplemented<Result>(); }
};

template <typename Call>
void Resolve(Call& entry, const wchar_t* library, const char* name)
{
    entry = reinterpret_cast<Call>(reinterpret_cast<void*>(LateBoundFunction(library, name)));
    if (!entry)
        entry = &Missing<Call>::Call;
}

template <typename Member>
struct EntryType;

template <typename Entry>
struct EntryType<Entry PlatformCalls::*> {
    using type = Entry;
};

// The entry `Member` calling the platform's function under the fault guard:
// a function that the platform exports but does not implement raises when
// called, and then answers as a missing one. One instance per entry, since
// two entries may share a signature.
template <auto Member, typename Call = typename EntryType<decltype(Member)>::type>
struct Guarded;

template <auto Member, typename Result, typename... Args>
struct Guarded<Member, Result(WINAPI*)(Args...)> {
    using Call = Result(WINAPI*)(Args...);
    static inline Call platform;

    static DWORD Run(void* argument)
    {
        return static_cast<DWORD>(std::apply(platform, *static_cast<std::tuple<Args...>*>(argument)));
    }

    static Result WINAPI Entry(Args... args)
    {
        std::tuple<Args...> arguments(args...);
        DWORD result = 0;
        if (!RunGuarded(&Run, &arguments, result))
            return NotImplemented<Result>();
        return static_cast<Result>(result);
    }
};

// Resolves an entry whose function the platform may export without
// implementing: the platform's own, if any, is called under the guard.
template <auto Member>
void ResolveGuarded(PlatformCalls& calls, const wchar_t* library, const char* name)
{
    using Entry = Guarded<Member>;
    Resolve(Entry::platform, library, name);
    calls.*Member = &Entry::Entry;
}

PlatformCalls RealCalls()
{
    const wchar_t* net = L"netapi32.dll";
    const wchar_t* mpr = L"mpr.dll";
    const wchar_t* advapi = L"advapi32.dll";
    PlatformCalls calls;
    Resolve(calls.NetGetDCName, net, "NetGetDCName");
    Resolve(calls.NetUserAdd, net, "NetUserAdd");
    ResolveGuarded<&PlatformCalls::NetGroupGetUsers>(calls, net, "NetGroupGetUsers");
    Resolve(calls.NetLocalGroupGetMembers, net, "NetLocalGroupGetMembers");
    Resolve(calls.NetLocalGroupAddMember, net, "NetLocalGroupAddMember");
    Resolve(calls.NetWkstaGetInfo, net, "NetWkstaGetInfo");
    Resolve(calls.NetApiBufferFree, net, "NetApiBufferFree");
    Resolve(calls.WNetOpenEnumW, mpr, "WNetOpenEnumW");
    Resolve(calls.WNetEnumResourceW, mpr, "WNetEnumResourceW");
    Resolve(calls.WNetCloseEnum, mpr, "WNetCloseEnum");
    Resolve(calls.LookupAccountNameW, advapi, "LookupAccountNameW");
    Resolve(calls.LookupAccountSidW, advapi, "LookupAccountSidW");
    Resolve(calls.LsaOpenPolicy, advapi, "LsaOpenPolicy");
    Resolve(calls.LsaClose, advapi, "LsaClose");
    ResolveGuarded<&PlatformCalls::LsaOpenAccount>(calls, advapi, "LsaOpenAccount");
    ResolveGuarded<&PlatformCalls::LsaCreateAccount>(calls, advapi, "LsaCreateAccount");
    ResolveGuarded<&PlatformCalls::LsaGetSystemAccessAccount>(calls, advapi, "LsaGetSystemAccessAccount");
    ResolveGuarded<&PlatformCalls::LsaSetSystemAccessAccount>(calls, advapi, "LsaSetSystemAccessAccount");
    Resolve(calls.LsaEnumerateAccountRights, advapi, "LsaEnumerateAccountRights");
    Resolve(calls.LsaAddAccountRights, advapi, "LsaAddAccountRights");
    Resolve(calls.LsaFreeMemory, advapi, "LsaFreeMemory");
    Resolve(calls.OpenSCManagerW, advapi, "OpenSCManagerW");
    Resolve(calls.OpenServiceW, advapi, "OpenServiceW");
    Resolve(calls.CreateServiceW, advapi, "CreateServiceW");
    Resolve(calls.StartServiceW, advapi, "StartServiceW");
    Resolve(calls.ControlService, advapi, "ControlService");
    Resolve(calls.QueryServiceStatus, advapi, "QueryServiceStatus");
    Resolve(calls.QueryServiceStatusEx, advapi, "QueryServiceStatusEx");
    Resolve(calls.QueryServiceConfigW, advapi, "QueryServiceConfigW");
    Resolve(calls.DeleteService, advapi, "DeleteService");
    Resolve(calls.CloseServiceHandle, advapi, "CloseServiceHandle");
    Resolve(calls.RegisterEventSourceW, advapi, "RegisterEventSourceW");
    Resolve(calls.ReportEventW, advapi, "ReportEventW");
    Resolve(calls.DeregisterEventSource, advapi, "DeregisterEventSource");
    return calls;
}

}  // namespace

PlatformCalls& Platform()
{
    static PlatformCalls calls = RealCalls();
    return calls;
}

bool WorkstationRunning()
{
    NetBuffer info;
    return Platform().NetWkstaGetInfo(nullptr, 100, info.receive()) == NERR_Success;
}
