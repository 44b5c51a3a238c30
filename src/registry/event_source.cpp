#include "registry/event_source.h"

#include <wchar.h>

#include <iterator>

#include "registry/product_keys.h"
#include "shell/event_log.h"
#include "shell/handles.h"
#include "shell/path_text.h"

namespace {

constexpr DWORD kTypesSupported = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;

bool SourceKey(wchar_t (&key)[kJoinedPathChars])
{
    return JoinPath(key, std::size(key), kApplicationEventSourcesKey, kEventSourceName);
}

}  // namespace

bool RegisterEventMessages(const wchar_t* program)
{
    wchar_t path[kJoinedPathChars];
    RegistryKey key;
    if (!SourceKey(path) || key.Create(HKEY_LOCAL_MACHINE, path) != ERROR_SUCCESS)
        return false;
    const DWORD programBytes = static_cast<DWORD>((wcslen(program) + 1) * sizeof(wchar_t));
    const bool file = RegSetValueExW(key.get(), L"EventMessageFile", 0, REG_EXPAND_SZ,
                                     reinterpret_cast<const BYTE*>(program), programBytes) == ERROR_SUCCESS;
    const bool types = RegSetValueExW(key.get(), L"TypesSupported", 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&kTypesSupported),
                                      sizeof kTypesSupported) == ERROR_SUCCESS;
    return file && types;
}

void UnregisterEventMessages()
{
    wchar_t path[kJoinedPathChars];
    if (SourceKey(path))
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
}
