#pragma once
// An open registry key, closed by its owner on every path out.
#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY get() const { return key_; }

    // Creates or opens `path` below `root` as setup opens every key of its
    // own, closing the key held before. Returns the registry's error code.
    LONG Create(HKEY root, const wchar_t* path)
    {
        Close();
        HKEY key = nullptr;
        LONG error = RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED, nullptr,
                                     &key, nullptr);
        if (error == ERROR_SUCCESS)
            key_ = key;
        return error;
    }

    void Close()
    {
        if (key_) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }

private:
    HKEY key_ = nullptr;
};
