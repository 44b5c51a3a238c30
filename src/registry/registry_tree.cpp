#include "registry/registry_tree.h"

#include "shell/handles.h"

bool DeleteRegistryTree(HKEY root, const wchar_t* path)
{
    if (!path)
        return false;
    RegistryKey key;
    const LONG opened = key.Open(root, path, KEY_ALL_ACCESS);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened == ERROR_SUCCESS) {
        // Each deletion moves the next subkey to index 0.
        for (;;) {
            wchar_t name[256];
            DWORD chars = ARRAYSIZE(name);
            if (RegEnumKeyExW(key.get(), 0, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (!DeleteRegistryTree(key.get(), name))
                break;
        }
        key.Close();
    }
    return RegDeleteKeyW(root, path) == ERROR_SUCCESS;
}
