// The tree is put back by its differences, so that keys and values that did
// not change are not written at all.
#include "registry/registry_snapshot.h"

#include "registry/registry_tree.h"
#include "shell/handles.h"

namespace {

std::wstring Below(const std::wstring& path, const std::wstring& name)
{
    return path.empty() ? name : path + L"\\" + name;
}

enum class Listing { Subkeys, Values };

// The names of the subkeys, or of the values, of an open key.
std::vector<std::wstring> Names(HKEY key, Listing listing)
{
    const bool values = listing == Listing::Values;
    std::vector<std::wstring> names;
    DWORD subkeys = 0, longestSubkey = 0, valueCount = 0, longestValue = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &valueCount,
                         &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name((values ? longestValue : longestSubkey) + 1);
    const DWORD count = values ? valueCount : subkeys;
    for (DWORD index = 0; index < count; ++index) {
        DWORD chars = static_cast<DWORD>(name.size());
        LONG error = values ? RegEnumValueW(key, index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr)
                            : RegEnumKeyExW(key, index, name.data(), &chars, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_SUCCESS)
            names.emplace_back(name.data(), chars);
    }
    return names;
}

bool ReadValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data)
{
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return false;
    data.resize(bytes);
    return RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &bytes) == ERROR_SUCCESS &&
           bytes == data.size();
}

}  // namespace

void RegistrySnapshot::Take(HKEY root, const wchar_t* path)
{
    root_ = root;
    path_ = path;
    keys_.clear();
    RegistryKey top;
    existed_ = top.Open(root, path, KEY_READ) == ERROR_SUCCESS;
    if (existed_)
        ReadKey(top.get(), L"");
}

void RegistrySnapshot::ReadKey(HKEY key, const std::wstring& path)
{
    Key read{path, {}};
    for (const std::wstring& name : Names(key, Listing::Values)) {
        Value value{name, REG_NONE, {}};
        if (ReadValue(key, name, value.type, value.data))
            read.values.push_back(value);
    }
    keys_.push_back(read);
    for (const std::wstring& name : Names(key, Listing::Subkeys)) {
        RegistryKey subkey;
        if (subkey.Open(key, name.c_str(), KEY_READ) == ERROR_SUCCESS)
            ReadKey(subkey.get(), Below(path, name));
    }
}

const RegistrySnapshot::Key* RegistrySnapshot::Find(const std::wstring& path) const
{
    for (const Key& key : keys_)
        if (lstrcmpiW(key.path.c_str(), path.c_str()) == 0)
            return &key;
    return nullptr;
}

// Deletes what was made below `key` since the snapshot: keys it does not
// hold, and values it does not hold in the keys it does.
bool RegistrySnapshot::Prune(HKEY key, const std::wstring& path) const
{
    bool every = true;
    const Key* before = Find(path);
    for (const std::wstring& name : Names(key, Listing::Values)) {
        bool held = false;
        for (const Value& value : before->values)
            held = held || lstrcmpiW(value.name.c_str(), name.c_str()) == 0;
        if (!held && RegDeleteValueW(key, name.c_str()) != ERROR_SUCCESS)
            every = false;
    }
    for (const std::wstring& name : Names(key, Listing::Subkeys)) {
        if (!Find(Below(path, name))) {
            every = DeleteRegistryTree(key, name.c_str()) && every;
            continue;
        }
        RegistryKey subkey;
        if (subkey.Open(key, name.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS)
            every = false;
        else
            every = Prune(subkey.get(), Below(path, name)) && every;
    }
    return every;
}

bool RegistrySnapshot::Restore() const
{
    if (!root_)
        return true;
    if (!existed_)
        return DeleteRegistryTree(root_, path_.c_str());
    bool every = true;
    RegistryKey top;
    if (top.Create(root_, path_.c_str()) != ERROR_SUCCESS)
        return false;
    every = Prune(top.get(), L"");
    const BYTE noData = 0;
    for (const Key& before : keys_) {
        RegistryKey subkey;
        if (!before.path.empty() && subkey.Create(top.get(), before.path.c_str()) != ERROR_SUCCESS) {
            every = false;
            continue;
        }
        const HKEY key = before.path.empty() ? top.get() : subkey.get();
        for (const Value& value : before.values) {
            DWORD type = REG_NONE;
            std::vector<BYTE> data;
            if (ReadValue(key, value.name, type, data) && type == value.type && data == value.data)
                continue;
            if (RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.empty() ? &noData : value.data.data(),
                               static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS)
                every = false;
        }
    }
    return every;
}
