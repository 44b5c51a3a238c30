#include "shell/setup_lock.h"

#include <initializer_list>

namespace {

// The lock is a named mutex that exists while a setup holds a handle to it,
// so a setup that ends in any way gives the lock back. The global name
// reaches every session where the system lets this user create it; every
// setup also holds the session's, which is all a setup that may not create
// global names can check.
constexpr wchar_t kGlobalName[] = L"Global\\Velmar Tapewright Setup";
constexpr wchar_t kSessionName[] = L"Velmar Tapewright Setup";

}  // namespace

SetupLock::SetupLock()
{
    global_ = CreateMutexW(nullptr, FALSE, kGlobalName);
    const bool globalTaken = global_ && GetLastError() == ERROR_ALREADY_EXISTS;
    // A global name can be refused for want of the right to create one; a
    // session name refused exists, made by a setup this user may not open.
    session_ = CreateMutexW(nullptr, FALSE, kSessionName);
    const DWORD sessionError = GetLastError();
    const bool sessionTaken = session_ ? sessionError == ERROR_ALREADY_EXISTS : sessionError == ERROR_ACCESS_DENIED;
    held_ = !globalTaken && !sessionTaken;
}

SetupLock::~SetupLock()
{
    for (HANDLE mutex : {global_, session_}) {
        if (mutex)
            CloseHandle(mutex);
    }
}
