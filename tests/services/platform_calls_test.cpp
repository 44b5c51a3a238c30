// The platform-call table on the real platform: functions that the platform
// exports without implementing them answer "not implemented" instead of
// ending the program, and the right is then granted by name; an account of
// another domain is not taken for this computer's.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "services/accounts.h"
#include "services/platform_calls.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

namespace {

bool OnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// An exception that gets past the table ends the test program at once, with
// its code, rather than waiting for a debugger.
LONG WINAPI EndOnUnhandled(EXCEPTION_POINTERS* exception)
{
    fprintf(stderr, "unhandled exception %08lx\n", exception->ExceptionRecord->ExceptionCode);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

TEST(PlatformCalls, UnimplementedFunctionsAnswerInsteadOfRaising)
{
    if (!OnWine())
        GTEST_SKIP() << "the platform implements the account-object functions";
    SetUnhandledExceptionFilter(EndOnUnhandled);
    PlatformCalls& calls = Platform();
    LSA_OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    LSA_HANDLE policy = nullptr;
    ASSERT_EQ(calls.LsaOpenPolicy(nullptr, &attributes, POLICY_ALL_ACCESS, &policy), 0);
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    BYTE sid[SECURITY_MAX_SID_SIZE];
    InitializeSid(sid, &nt, 1);
    *GetSidSubAuthority(sid, 0) = SECURITY_LOCAL_SYSTEM_RID;
    LSA_HANDLE account = nullptr;
    ULONG modes = 0;
    EXPECT_EQ(calls.LsaOpenAccount(policy, sid, 0xF000F, &account), kStatusNotImplemented);
    EXPECT_EQ(calls.LsaCreateAccount(policy, sid, 0xF000F, &account), kStatusNotImplemented);
    EXPECT_EQ(calls.LsaGetSystemAccessAccount(account, &modes), kStatusNotImplemented);
    EXPECT_EQ(calls.LsaSetSystemAccessAccount(account, 0x10), kStatusNotImplemented);
    calls.LsaClose(policy);

    BYTE* users = nullptr;
    DWORD read = 0, total = 0;
    DWORD_PTR resume = 0;
    EXPECT_EQ(calls.NetGroupGetUsers(nullptr, L"None", 0, &users, 4096, &read, &total, &resume),
              static_cast<NET_API_STATUS>(ERROR_CALL_NOT_IMPLEMENTED));
}

TEST(PlatformCalls, TheRightIsGrantedByNameWhereAccountObjectsAreMissing)
{
    if (!OnWine())
        GTEST_SKIP() << "the platform implements the account-object functions";
    ResetSetupState();
    const std::wstring account = ComputerName() + L"\\" + UserName();
    ASSERT_TRUE(AccountExists(account.c_str()));
    // The platform would answer for this computer's user if asked for the
    // whole name; a domain part that names no domain of the network is a
    // computer to ask, and none answers.
    std::wstring elsewhere = L"OTHERDOM\\" + UserName();
    EXPECT_FALSE(AccountExists(elsewhere.c_str()));
    EXPECT_EQ(AccountErrors.os, static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
    // The platform keeps no rights: the right is never found, and granting
    // it succeeds.
    EXPECT_FALSE(HasServiceLogonRight(account.c_str()));
    EXPECT_TRUE(GrantServiceLogonRight(account.c_str()));
    EXPECT_EQ(AccountErrors.nt, 0u);
}

}  // namespace
