#include "group_floor.h"

#include <windows.h>
#include <ddeml.h>

#include "bench_clock.h"

namespace {

constexpr DWORD kCommandTimeoutMs = 30000;

HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

}  // namespace

double SendGroupCommands(const std::vector<std::wstring>& commands)
{
    const double start = Now();
    DWORD instance = 0;
    if (DdeInitializeW(&instance, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return -1;
    HSZ progman = DdeCreateStringHandleW(instance, L"PROGMAN", CP_WINUNICODE);
    HCONV conversation = DdeConnect(instance, progman, progman, nullptr);
    bool sent = conversation != nullptr;
    for (size_t i = 0; sent && i < commands.size(); ++i) {
        const std::wstring& command = commands[i];
        DWORD result = 0;
        // A refused command comes back as a failed transaction with
        // DMLERR_NOTPROCESSED; only a lost conversation stops the client.
        if (!DdeClientTransaction(reinterpret_cast<BYTE*>(const_cast<wchar_t*>(command.c_str())),
                                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)), conversation, nullptr,
                                  0, XTYP_EXECUTE, kCommandTimeoutMs, &result))
            sent = DdeGetLastError(instance) == DMLERR_NOTPROCESSED;
    }
    if (conversation)
        DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, progman);
    DdeUninitialize(instance);
    return sent ? Now() - start : -1;
}
