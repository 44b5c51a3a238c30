#pragma once
// A registry tree read before setup writes into it, so that it can be put
// back exactly: every key and value, or that the tree was not there.
#include <windows.h>

#include <string>
#include <vector>

class RegistrySnapshot {
public:
    // Reads the tree `path` below `root`, in place of what was read before.
    void Take(HKEY root, const wchar_t* path);

    // Puts the tree back as it was read: values changed since get their
    // earlier type and data, values and keys made since are deleted, and so
    // is the whole tree when it was not there. True when every change was
    // made.
    bool Restore() const;

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Key {
        std::wstring path;  // below the tree's top, "" for the top itself
        std::vector<Value> values;
    };

    void ReadKey(HKEY key, const std::wstring& path);
    const Key* Find(const std::wstring& path) const;
    bool Prune(HKEY key, const std::wstring& path) const;

    HKEY root_ = nullptr;
    std::wstring path_;
    bool existed_ = false;
    std::vector<Key> keys_;  // each key before its subkeys
};
