#include "support/machine_snapshot.h"

#include <filesystem>

#include "support/install_support.h"
#include "support/setup_process.h"
#include "support/test_services.h"

namespace support {

namespace {

std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

void AddEntry(MachineSnapshot& snapshot, const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return;
    const bool folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    std::string value = Bytes(&data.dwFileAttributes, sizeof data.dwFileAttributes);
    if (!folder)
        value += Bytes(&data.ftLastWriteTime, sizeof data.ftLastWriteTime) + FileBytes(path);
    snapshot[(folder ? L"folder " : L"file ") + path] = value;
}

}  // namespace

void AddFolder(MachineSnapshot& snapshot, const std::wstring& folder)
{
    AddEntry(snapshot, folder);
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        AddEntry(snapshot, entry.path().wstring());
}

void AddFile(MachineSnapshot& snapshot, const std::wstring& path)
{
    AddEntry(snapshot, path);
}

void AddRegistryTree(MachineSnapshot& snapshot, HKEY root, const std::wstring& path)
{
    KeyValues key = ReadRegistryKey(path, root);
    if (!key.exists)
        return;
    snapshot[L"key " + path] = "";
    for (const auto& [name, value] : key.values)
        snapshot[L"value " + path + L"|" + name] =
            Bytes(&value.type, sizeof value.type) + Bytes(value.bytes.data(), value.bytes.size());
    for (const std::wstring& subkey : key.subkeys)
        AddRegistryTree(snapshot, root, path + L"\\" + subkey);
}

void AddService(MachineSnapshot& snapshot, const std::wstring& name)
{
    DWORD state = 0;
    WaitUntil([&] {
        state = ServiceState(name);
        return state != SERVICE_START_PENDING && state != SERVICE_STOP_PENDING;
    });
    snapshot[L"service " + name] = Bytes(&state, sizeof state);
    AddRegistryTree(snapshot, HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\" + name);
}

std::vector<std::wstring> Differences(const MachineSnapshot& before, const MachineSnapshot& after)
{
    std::vector<std::wstring> names;
    for (const auto& [name, value] : before) {
        auto found = after.find(name);
        if (found == after.end())
            names.push_back(L"gone: " + name);
        else if (found->second != value)
            names.push_back(L"changed: " + name);
    }
    for (const auto& [name, value] : after)
        if (!before.count(name))
            names.push_back(L"new: " + name);
    return names;
}

}  // namespace support
