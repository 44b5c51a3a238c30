#include "maint/product_directory.h"

#include <wchar.h>

#include <iterator>

#include "registry/product_keys.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/path_text.h"
#include "shell/string_bank.h"

namespace {

// `path` as a full path without a trailing backslash, for comparing; false
// when it does not fit.
bool Normalise(const wchar_t* path, wchar_t (&full)[kPathChars])
{
    DWORD length = GetFullPathNameW(path, kPathChars, full, nullptr);
    if (length == 0 || length >= kPathChars)
        return false;
    if (length > 1 && full[length - 1] == L'\\')
        full[length - 1] = 0;
    return true;
}

bool SameDirectory(const wchar_t* a, const wchar_t* b)
{
    wchar_t fullA[kPathChars];
    wchar_t fullB[kPathChars];
    return Normalise(a, fullA) && Normalise(b, fullB) && lstrcmpiW(fullA, fullB) == 0;
}

// A drive's root ("C:") or a share's ("\\server\share"), given without its
// trailing backslash.
bool IsRoot(const wchar_t* full)
{
    if (wcslen(full) <= 2)
        return true;
    if (full[0] != L'\\' || full[1] != L'\\')
        return false;
    const wchar_t* server = wcschr(full + 2, L'\\');
    return !server || !wcschr(server + 1, L'\\');
}

bool IsSystemPlace(const wchar_t* directory)
{
    wchar_t place[kPathChars];
    UINT length = GetWindowsDirectoryW(place, kPathChars);
    if (length > 0 && length < kPathChars && SameDirectory(directory, place))
        return true;
    length = GetSystemDirectoryW(place, kPathChars);
    return length > 0 && length < kPathChars && SameDirectory(directory, place);
}

// The parent of the data path that the product's configuration records,
// with its backslash; false when there is none.
bool ConfiguredDirectory(wchar_t (&directory)[kPathChars])
{
    DWORD type = 0;
    DWORD bytes = sizeof directory - sizeof directory[0];
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUserInterfaceKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    LONG error =
        RegQueryValueExW(key.get(), L"Data Path", nullptr, &type, reinterpret_cast<BYTE*>(directory), &bytes);
    if (error != ERROR_SUCCESS || type != REG_SZ)
        return false;
    directory[bytes / sizeof directory[0]] = 0;
    size_t length = wcslen(directory);
    if (length > 0 && directory[length - 1] == L'\\')
        directory[--length] = 0;
    wchar_t* backslash = wcsrchr(directory, L'\\');
    if (!backslash)
        return false;
    backslash[1] = 0;
    return true;
}

bool HoldsFile(const wchar_t* directory, UINT nameId)
{
    wchar_t name[256];
    wchar_t path[kJoinedPathChars];
    LoadBankString(LangBase + nameId, name, std::size(name));
    if (!JoinPath(path, kJoinedPathChars, directory, name))
        return false;
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ProductDirectory IdentifyProductDirectory(const wchar_t* directory)
{
    wchar_t full[kPathChars];
    if (!Normalise(directory, full) || IsRoot(full) || IsSystemPlace(full))
        return ProductDirectory::NotProduct;
    wchar_t configured[kPathChars];
    if (ConfiguredDirectory(configured))
        return SameDirectory(directory, configured) ? ProductDirectory::Configured : ProductDirectory::NotProduct;
    if (HoldsFile(directory, IDS_FILENAME_SETUP) &&
        (HoldsFile(directory, IDS_FILENAME_TWWINNT_EXE) || HoldsFile(directory, IDS_FILENAME_JOBSCOPE_EXE)))
        return ProductDirectory::HoldsProgram;
    return ProductDirectory::NotProduct;
}
