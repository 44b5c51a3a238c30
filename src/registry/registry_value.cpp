#include "registry/product_config.h"
#include "shell/fault_guard.h"
#include "shell/handles.h"

namespace {

struct ValueRequest {
    HKEY root;
    const wchar_t* keyPath;
    const wchar_t* valueName;
    DWORD type;
    const void* data;
    DWORD bytes;
};

DWORD SetValue(void* argument)
{
    const ValueRequest& request = *static_cast<const ValueRequest*>(argument);
    RegistryKey key;
    LONG error = key.Create(request.root, request.keyPath);
    if (error != ERROR_SUCCESS)
        return error;
    return RegSetValueExW(key.get(), request.valueName, 0, request.type, static_cast<const BYTE*>(request.data),
                          request.bytes);
}

}  // namespace

bool SetRegistryValue(HKEY root, const wchar_t* keyPath, const wchar_t* valueName, DWORD type, const void* data,
                      DWORD bytes)
{
    ValueRequest request{root, keyPath, valueName, type, data, bytes};
    DWORD error = ERROR_SUCCESS;
    return RunGuarded(SetValue, &request, error) && error == ERROR_SUCCESS;
}
