#pragma once
// Every network-management, network-enumeration, account-lookup, LSA,
// service-manager and event-log call of setup goes through this one table.
// Setup fills it with the platform's functions, resolved at the first use of
// the table so that start-up loads none of their libraries; tests replace
// entries to drive every branch (a simulated network, scripted failures).
// The product's logic stays on setup's side of the table: an entry does one
// platform call.
// The table in use, Platform(), is declared with the other hooks that tests
// replace.
#include <windows.h>
#include <lm.h>
#include <ntsecapi.h>
#include <winnetwk.h>

#include "shell/hooks.h"

// The LSA account-object functions, which the platform's headers do not
// declare.
using LsaOpenAccountCall = NTSTATUS(NTAPI*)(LSA_HANDLE policy, PSID sid, ACCESS_MASK access, PLSA_HANDLE account);
using LsaCreateAccountCall = NTSTATUS(NTAPI*)(LSA_HANDLE policy, PSID sid, ACCESS_MASK access, PLSA_HANDLE account);
using LsaGetSystemAccessAccountCall = NTSTATUS(NTAPI*)(LSA_HANDLE account, PULONG systemAccess);
using LsaSetSystemAccessAccountCall = NTSTATUS(NTAPI*)(LSA_HANDLE account, ULONG systemAccess);

// What a table entry answers when the platform lacks its function, or when
// the function raises instead of returning (the account-object functions and
// NetGroupGetUsers, which some platforms export without implementing them,
// are called under a guard): an LSA call kStatusNotImplemented, a network
// call ERROR_CALL_NOT_IMPLEMENTED as its status, any other call a failure
// with that last-error value.
constexpr NTSTATUS kStatusNotImplemented = static_cast<NTSTATUS>(0xC0000002);

struct PlatformCalls {
    // Network management (netapi32).
    decltype(&::NetGetDCName) NetGetDCName;
    decltype(&::NetUserAdd) NetUserAdd;
    decltype(&::NetGroupGetUsers) NetGroupGetUsers;
    decltype(&::NetLocalGroupGetMembers) NetLocalGroupGetMembers;
    decltype(&::NetLocalGroupAddMember) NetLocalGroupAddMember;
    decltype(&::NetWkstaGetInfo) NetWkstaGetInfo;
    decltype(&::NetApiBufferFree) NetApiBufferFree;
    // Network enumeration (mpr).
    decltype(&::WNetOpenEnumW) WNetOpenEnumW;
    decltype(&::WNetEnumResourceW) WNetEnumResourceW;
    decltype(&::WNetCloseEnum) WNetCloseEnum;
    // Accounts (advapi32).
    decltype(&::LookupAccountNameW) LookupAccountNameW;
    decltype(&::LookupAccountSidW) LookupAccountSidW;
    // LSA policy (advapi32).
    decltype(&::LsaOpenPolicy) LsaOpenPolicy;
    decltype(&::LsaClose) LsaClose;
    LsaOpenAccountCall LsaOpenAccount;
    LsaCreateAccountCall LsaCreateAccount;
    LsaGetSystemAccessAccountCall LsaGetSystemAccessAccount;
    LsaSetSystemAccessAccountCall LsaSetSystemAccessAccount;
    decltype(&::LsaEnumerateAccountRights) LsaEnumerateAccountRights;
    decltype(&::LsaAddAccountRights) LsaAddAccountRights;
    decltype(&::LsaFreeMemory) LsaFreeMemory;
    // Service Control Manager (advapi32).
    decltype(&::OpenSCManagerW) OpenSCManagerW;
    decltype(&::OpenServiceW) OpenServiceW;
    decltype(&::CreateServiceW) CreateServiceW;
    decltype(&::StartServiceW) StartServiceW;
    decltype(&::ControlService) ControlService;
    decltype(&::QueryServiceStatus) QueryServiceStatus;
    decltype(&::QueryServiceStatusEx) QueryServiceStatusEx;
    decltype(&::QueryServiceConfigW) QueryServiceConfigW;
    decltype(&::DeleteService) DeleteService;
    decltype(&::CloseServiceHandle) CloseServiceHandle;
    // Event log (advapi32).
    decltype(&::RegisterEventSourceW) RegisterEventSourceW;
    decltype(&::ReportEventW) ReportEventW;
    decltype(&::DeregisterEventSource) DeregisterEventSource;
};

// This computer's Workstation service answers (NetWkstaGetInfo at level 100
// succeeds): other computers reach its shares by its name.
bool WorkstationRunning();
