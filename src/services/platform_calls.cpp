#include "services/platform_calls.h"

#include <type_traits>

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

PlatformCalls RealCalls()
{
    const wchar_t* net = L"netapi32.dll";
    const wchar_t* mpr = L"mpr.dll";
    const wchar_t* advapi = L"advapi32.dll";
    PlatformCalls calls;
    Resolve(calls.NetGetDCName, net, "NetGetDCName");
    Resolve(calls.NetUserAdd, net, "NetUserAdd");
    Resolve(calls.NetGroupGetUsers, net, "NetGroupGetUsers");
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
    Resolve(calls.LsaOpenAccount, advapi, "LsaOpenAccount");
    Resolve(calls.LsaCreateAccount, advapi, "LsaCreateAccount");
    Resolve(calls.LsaGetSystemAccessAccount, advapi, "LsaGetSystemAccessAccount");
    Resolve(calls.LsaSetSystemAccessAccount, advapi, "LsaSetSystemAccessAccount");
    Resolve(calls.LsaEnumerateAccountRights, advapi, "LsaEnumerateAccountRights");
    Resolve(calls.LsaAddAccountRights, advapi, "LsaAddAccountRights");
    Resolve(calls.LsaFreeMemory, advapi, "LsaFreeMemory");
    Resolve(calls.OpenSCManagerW, advapi, "OpenSCManagerW");
    Resolve(calls.OpenServiceW, advapi, "OpenServiceW");
    Resolve(calls.CreateServiceW, advapi, "CreateServiceW");
    Resolve(calls.StartServiceW, advapi, "StartServiceW");
    Resolve(calls.ControlService, advapi, "ControlService");
    Resolve(calls.QueryServiceStatus, advapi, "QueryServiceStatus");
    Resolve(calls.QueryServiceConfigW, advapi, "QueryServiceConfigW");
    Resolve(calls.DeleteService, advapi, "DeleteService");
    Resolve(calls.CloseServiceHandle, advapi, "CloseServiceHandle");
    return calls;
}

}  // namespace

PlatformCalls& Platform()
{
    static PlatformCalls calls = RealCalls();
    return calls;
}
