#include "support/install_support.h"

#include <winioctl.h>

#include <string.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "registry/product_keys.h"
#include "support/unix_link.h"

namespace support {

namespace fs = std::filesystem;

std::wstring FixturePath(const std::wstring& relative)
{
    std::wstring path = std::wstring(FIXTURES_DIR) + L"\\" + relative;
    return IsDirectory(path) && path.back() != L'\\' ? path + L"\\" : path;
}

std::wstring ProductFile(const std::wstring& name) { return FixturePath(L"product\\" + name); }

void RemoveTree(const std::wstring& path)
{
    std::error_code error;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const auto& entry : fs::recursive_directory_iterator(path, error))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path, error);
}

void CreateEmptyFile(const std::wstring& path)
{
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    WriteBytes(path, "");
}

void CopyFolder(const std::wstring& from, const std::wstring& to)
{
    std::error_code error;
    fs::create_directories(to, error);
    for (const std::wstring& name : FilesIn(from))
        CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::set<std::wstring> FilesIn(const std::wstring& folder)
{
    std::set<std::wstring> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_directory(error))
            names.insert(entry.path().filename().wstring());
    }
    return names;
}

std::string FileBytes(const std::wstring& path)
{
    std::ifstream file(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream(fs::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

bool SameBytes(const std::wstring& a, const std::wstring& b)
{
    return Exists(a) && Exists(b) && FileBytes(a) == FileBytes(b);
}

ULONGLONG LastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

namespace {

// Wine's mount manager defines a drive letter over a host folder; the volume
// label is read from the folder's .windows-label file when it is defined.
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDrive {
    ULONG size, type, fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset, deviceOffset, labelOffset;
};

}  // namespace

bool InsertDisk(const std::wstring& diskFolder)
{
    std::string mountPoint = UnixPath(diskFolder);
    if (mountPoint.empty())
        return false;
    std::vector<char> request(sizeof(UnixDrive) + mountPoint.size() + 1);
    auto drive = reinterpret_cast<UnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = DRIVE_REMOVABLE;
    drive->fsType = 1;  // FAT, as on a floppy disk
    drive->letter = L'a';
    drive->mountPointOffset = sizeof(UnixDrive);
    memcpy(request.data() + sizeof(UnixDrive), mountPoint.c_str(), mountPoint.size() + 1);

    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    BOOL defined = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                   nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return defined != FALSE;
}

void RemoveProductRegistry()
{
    for (const wchar_t* key : {kVelmarKey, kUninstallKey, kSetupEventSourceKey}) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
    }
}

DWORD RegistryValue::Number() const
{
    DWORD number = 0xDEADBEEF;
    if (bytes.size() == sizeof number)
        memcpy(&number, bytes.data(), sizeof number);
    return number;
}

std::wstring RegistryValue::Text() const
{
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

KeyValues ReadRegistryKey(const std::wstring& key, HKEY root)
{
    KeyValues result;
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return result;
    result.exists = true;
    wchar_t name[256];
    std::vector<BYTE> data(65536);
    DWORD nameChars = ARRAYSIZE(name), type = 0, bytes = static_cast<DWORD>(data.size());
    for (DWORD index = 0;
         RegEnumValueW(handle, index, name, &nameChars, nullptr, &type, data.data(), &bytes) == ERROR_SUCCESS;
         ++index, nameChars = ARRAYSIZE(name), bytes = static_cast<DWORD>(data.size()))
        result.values[name] = {true, type, std::vector<BYTE>(data.begin(), data.begin() + bytes)};
    for (DWORD index = 0, chars = ARRAYSIZE(name);
         RegEnumKeyExW(handle, index, name, &chars, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index, chars = ARRAYSIZE(name))
        result.subkeys.push_back(name);
    RegCloseKey(handle);
    return result;
}

RegistryValue ReadRegistryValue(const std::wstring& key, const wchar_t* name, HKEY root)
{
    KeyValues read = ReadRegistryKey(key, root);
    auto found = read.values.find(name);
    return found == read.values.end() ? RegistryValue() : found->second;
}

std::wstring ComputerName()
{
    wchar_t name[MAX_PATH];
    DWORD chars = ARRAYSIZE(name);
    return GetComputerNameW(name, &chars) ? name : L"";
}

std::wstring UserName()
{
    wchar_t user[257];
    DWORD chars = ARRAYSIZE(user);
    return GetUserNameW(user, &chars) ? user : L"";
}

std::wstring SystemDirectory()
{
    wchar_t directory[MAX_PATH];
    GetSystemDirectoryW(directory, ARRAYSIZE(directory));
    return std::wstring(directory) + L"\\";
}

HeldFile HoldFile(const std::wstring& path, DWORD share)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    return HeldFile(file == INVALID_HANDLE_VALUE ? nullptr : file, CloseHandle);
}

}  // namespace support
