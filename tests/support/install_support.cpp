#include "support/install_support.h"

#include <winioctl.h>

#include <string.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/setup_process.h"

std::wstring FixturePath(const std::wstring& relative)
{
    std::wstring path = std::wstring(FIXTURES_DIR) + L"\\" + relative;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && path.back() != L'\\')
        path += L"\\";
    return path;
}

std::wstring ProductFile(const std::wstring& name)
{
    return FixturePath(L"product\\" + name);
}

void RemoveTree(const std::wstring& path)
{
    std::wstring root = path;
    while (!root.empty() && root.back() == L'\\')
        root.pop_back();
    DWORD attributes = GetFileAttributesW(root.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(root.c_str());
        return;
    }
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((root + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(root + L"\\" + name);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(root.c_str());
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::set<std::wstring> FilesIn(const std::wstring& folder)
{
    std::set<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_directory(error))
            names.insert(entry.path().filename().wstring());
    }
    return names;
}

void CreateEmptyFile(const std::wstring& path)
{
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

void CopyFolder(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    for (const std::wstring& name : FilesIn(from))
        CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
}

namespace {

// Wine's mount manager defines a drive letter over a host folder; the volume
// label is read from the folder's .windows-label file when it is defined.
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

std::string HostPath(const std::wstring& path)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return std::string();
    char* converted = toUnix(path.c_str());
    if (!converted)
        return std::string();
    std::string result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

}  // namespace

bool InsertDisk(const std::wstring& diskFolder)
{
    std::string mountPoint = HostPath(diskFolder);
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

namespace {

bool ReadBytes(const std::wstring& path, std::string& bytes)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    using Bytes = std::istreambuf_iterator<char>;
    if (file)
        bytes.assign(Bytes(file), Bytes());
    return static_cast<bool>(file);
}

}  // namespace

bool SameBytes(const std::wstring& a, const std::wstring& b)
{
    std::string first, second;
    return ReadBytes(a, first) && ReadBytes(b, second) && first == second;
}

const char* DamageName(SourceDamage damage)
{
    switch (damage) {
    case SourceDamage::kTruncated: return "cut in half";
    case SourceDamage::kHeaderOnly: return "header only";
    case SourceDamage::kShorterThanHeader: return "shorter than the header";
    case SourceDamage::kEmpty: return "empty";
    case SourceDamage::kNoHeader: return "no header";
    case SourceDamage::kLength2Gb: return "length field 0x80000000";
    case SourceDamage::kLengthMax: return "length field 0xFFFFFFFF";
    }
    return "?";
}

bool WriteDamagedCopy(const std::wstring& from, const std::wstring& to, SourceDamage damage)
{
    constexpr size_t kHeaderBytes = 14;
    constexpr size_t kLengthAt = 10;
    std::string bytes;
    if (!ReadBytes(from, bytes) || bytes.size() <= kHeaderBytes)
        return false;
    switch (damage) {
    case SourceDamage::kTruncated: bytes.resize(bytes.size() / 2); break;
    case SourceDamage::kHeaderOnly: bytes.resize(kHeaderBytes); break;
    case SourceDamage::kShorterThanHeader: bytes.resize(kHeaderBytes - 4); break;
    case SourceDamage::kEmpty: bytes.clear(); break;
    case SourceDamage::kNoHeader: bytes.erase(bytes.begin(), bytes.begin() + kHeaderBytes); break;
    case SourceDamage::kLength2Gb: memcpy(&bytes[kLengthAt], "\x00\x00\x00\x80", 4); break;
    case SourceDamage::kLengthMax: memcpy(&bytes[kLengthAt], "\xFF\xFF\xFF\xFF", 4); break;
    }
    HANDLE file = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == bytes.size();
}

ULONGLONG LastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void RemoveProductRegistry()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Velmar");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Velmar");
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

RegistryValue ReadRegistryValue(const std::wstring& key, const wchar_t* name)
{
    RegistryValue value;
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExW(handle, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.present =
            RegQueryValueExW(handle, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    RegCloseKey(handle);
    return value;
}

std::wstring ComputerName()
{
    wchar_t name[MAX_PATH];
    DWORD chars = ARRAYSIZE(name);
    return GetComputerNameW(name, &chars) ? name : L"";
}

std::wstring SystemDirectory()
{
    wchar_t directory[MAX_PATH];
    GetSystemDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\";
}

HeldFile::HeldFile(const std::wstring& path, DWORD share)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr))
{
}

HeldFile::~HeldFile()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

FileCreatedOnChange::FileCreatedOnChange(const std::wstring& folder, const std::wstring& path)
    : path_(path),
      change_(FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Watch, this, 0, nullptr))
{
}

FileCreatedOnChange::~FileCreatedOnChange()
{
    // The platform may report a change a moment after it happened.
    if (WaitForSingleObject(thread_, 2000) == WAIT_TIMEOUT)
        SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    FindCloseChangeNotification(change_);
}

DWORD WINAPI FileCreatedOnChange::Watch(void* context)
{
    auto self = static_cast<FileCreatedOnChange*>(context);
    HANDLE events[] = {self->change_, self->stop_};
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0)
        CloseHandle(CreateFileW(self->path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    return 0;
}

HWND FindCancelButton(HWND frame)
{
    HWND client = GetWindow(frame, GW_CHILD);
    HWND percent = client ? FindWindowExW(client, nullptr, L"TWInst_Percent", nullptr) : nullptr;
    return percent ? FindWindowExW(percent, nullptr, L"Button", nullptr) : nullptr;
}
