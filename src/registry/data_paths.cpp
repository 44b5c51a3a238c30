#include "registry/data_paths.h"

#include <wchar.h>

#include <iterator>

#include "registry/product_config.h"
#include "registry/product_keys.h"
#include "res/resource_ids.h"
#include "shell/path_text.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// Appends as much of `text` as fits.
void Append(wchar_t* buffer, int capacity, const wchar_t* text)
{
    int length = lstrlenW(buffer);
    if (length < capacity - 1)
        lstrcpynW(buffer + length, text, capacity - length);
}

// `afterColon` with the bank's directory name `nameId` and a backslash; the
// name is shortened when the whole would not fit.
void BuildTail(const wchar_t* afterColon, UINT nameId, wchar_t (&tail)[kPathTailChars + 1])
{
    lstrcpynW(tail, afterColon, kPathTailChars + 1);
    int length = lstrlenW(tail);
    int room = kPathTailChars - length;
    if (room > 1)
        LoadBankString(LangBase + nameId, tail + length, room);
    Append(tail, kPathTailChars + 1, L"\\");
}

// This computer's name when its Workstation service answers, which is what
// lets other computers reach its drives by name; null otherwise.
const wchar_t* ReachableServerName(wchar_t (&name)[kComputerNameChars])
{
    if (!WorkstationRunning())
        return nullptr;
    DWORD chars = kComputerNameChars;
    return GetComputerNameW(name, &chars) ? name : nullptr;
}

void WritePath(const wchar_t* keyPath, const wchar_t* valueName, const wchar_t* path)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, keyPath, valueName, REG_SZ, path,
                     static_cast<DWORD>((lstrlenW(path) + 1) * sizeof(wchar_t)));
}

}  // namespace

bool BuildDataPaths(const wchar_t* destination, const wchar_t* server, DataPaths& paths)
{
    // A destination without a drive (a UNC path) has no local form, so the
    // paths already there are left as they are.
    const wchar_t* colon = wcschr(destination, L':');
    if (!colon)
        return false;
    const wchar_t localRoot[] = {destination[0], L':', 0};
    wchar_t remoteRoot[kRemoteRootChars + 1];
    lstrcpynW(remoteRoot, localRoot, std::size(remoteRoot));
    if (server) {
        const wchar_t share[] = {L'\\', destination[0], L'$', 0};
        lstrcpynW(remoteRoot, L"\\\\", std::size(remoteRoot));
        Append(remoteRoot, std::size(remoteRoot), server);
        Append(remoteRoot, std::size(remoteRoot), share);
    }

    wchar_t tail[kPathTailChars + 1];
    BuildTail(colon + 1, IDS_DATA_DIRECTORY, tail);
    JoinPath(paths.data, kDataPathChars, localRoot, tail);
    JoinPath(paths.dataRemote, kDataPathChars, remoteRoot, tail);
    BuildTail(colon + 1, IDS_CATALOG_DIRECTORY, tail);
    JoinPath(paths.catalog, kDataPathChars, localRoot, tail);
    JoinPath(paths.catalogRemote, kDataPathChars, remoteRoot, tail);
    return true;
}

// Written whatever is there: they follow the directory of this install.
void WriteDataPaths(const wchar_t* destination)
{
    wchar_t computerName[kComputerNameChars];
    DataPaths paths;
    if (!BuildDataPaths(destination, ReachableServerName(computerName), paths))
        return;
    WritePath(kUserInterfaceKey, L"Data Path", paths.data);
    WritePath(kUserInterfaceKey, L"Data Path Remote", paths.dataRemote);
    WritePath(kCatalogsKey, L"Catalog Path", paths.catalog);
    WritePath(kCatalogsKey, L"Catalog Path Remote", paths.catalogRemote);
}

void WriteProductConfiguration(const wchar_t* destination)
{
    WriteRegistryDefaults(HKEY_LOCAL_MACHINE);
    WriteDataPaths(destination);
}
