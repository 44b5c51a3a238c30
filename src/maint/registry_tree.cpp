#include "maint/registry_tree.h"

bool DeleteRegistryTree(HKEY root, const wchar_t* path)
{
    if (!path)
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        // Each deletion moves the next subkey to index 0.
        for (;;) {
            wchar_t name[256];
            DWORD chars = ARRAYSIZE(name);
            if (RegEnumKeyExW(key, 0, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (!DeleteRegistryTree(key, name))
                break;
        }
        RegCloseKey(key);
    }
    return RegDeleteKeyW(root, path) == ERROR_SUCCESS;
}
