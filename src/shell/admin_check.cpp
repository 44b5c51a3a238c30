#include "shell/admin_check.h"

#include <windows.h>

#include <vector>

#include "shell/handles.h"

namespace {

class Sid {
public:
    ~Sid() { if (sid_) FreeSid(sid_); }
    PSID* operator&() { return &sid_; }
    PSID get() const { return sid_; }

private:
    PSID sid_ = nullptr;
};

}  // namespace

bool IsAdministrator()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    Sid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                  0, 0, 0, 0, &administrators))
        return false;
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
        return false;

    std::vector<BYTE> groups(1024);
    DWORD needed = 0;
    if (!GetTokenInformation(token.get(), TokenGroups, groups.data(), static_cast<DWORD>(groups.size()),
                             &needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return false;
        groups.resize(needed);
        if (!GetTokenInformation(token.get(), TokenGroups, groups.data(), needed, &needed))
            return false;
    }
    auto list = reinterpret_cast<const TOKEN_GROUPS*>(groups.data());
    for (DWORD i = 0; i < list->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES& group = list->Groups[i];
        if (!EqualSid(group.Sid, administrators.get()))
            continue;
        return (group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0 && (group.Attributes & SE_GROUP_ENABLED) != 0;
    }
    return false;
}
