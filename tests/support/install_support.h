#pragma once
// What the tests set up and look at on the system: fixture disk sets, the
// floppy drive A:, files and folders, the registry.
#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace support {

// A path below the fixtures folder (product files and disk sets), with a
// trailing backslash when it names a folder.
std::wstring FixturePath(const std::wstring& relative);
// The product's own copy of a file, by its English installed name.
std::wstring ProductFile(const std::wstring& name);

// Deletes a directory tree or a file, read-only entries included; absent is fine.
void RemoveTree(const std::wstring& path);
// Creates an empty file (or empties one), and the folders above it.
void CreateEmptyFile(const std::wstring& path);
// Copies every file of `from` (a folder ending in a backslash) into `to`.
void CopyFolder(const std::wstring& from, const std::wstring& to);
// Puts the disk `diskFolder` (its files and its .windows-label) into the
// floppy drive A:, as swapping the disk would.
bool InsertDisk(const std::wstring& diskFolder);

bool Exists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
// The names of the files (not directories) in `folder`.
std::set<std::wstring> FilesIn(const std::wstring& folder);
// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::wstring& path);
// Makes `bytes` the whole of the file `path`.
void WriteBytes(const std::wstring& path, const std::string& bytes);
bool SameBytes(const std::wstring& a, const std::wstring& b);
ULONGLONG LastWriteTime(const std::wstring& path);

// Setup's event source below HKEY_LOCAL_MACHINE.
constexpr wchar_t kSetupEventSourceKey[] = L"System\\CurrentControlSet\\Services\\EventLog\\Application\\Tapewright Setup";

// Removes HKLM\Software\Velmar, the product's uninstall entry and setup's
// event source, with everything below them.
void RemoveProductRegistry();

struct RegistryValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    DWORD Number() const;       // 0xDEADBEEF unless exactly four bytes
    std::wstring Text() const;  // up to the first terminator
};
struct NoCase {
    bool operator()(const std::wstring& a, const std::wstring& b) const { return lstrcmpiW(a.c_str(), b.c_str()) < 0; }
};
// The values of a key by name and its subkeys' names; `exists` is false when
// the key cannot be opened.
struct KeyValues {
    bool exists = false;
    std::map<std::wstring, RegistryValue, NoCase> values;
    std::vector<std::wstring> subkeys;
};
KeyValues ReadRegistryKey(const std::wstring& key, HKEY root = HKEY_LOCAL_MACHINE);
RegistryValue ReadRegistryValue(const std::wstring& key, const wchar_t* name, HKEY root = HKEY_LOCAL_MACHINE);

// This computer's name, and the user this test program runs as.
std::wstring ComputerName();
std::wstring UserName();
// The system directory with a trailing backslash.
std::wstring SystemDirectory();

// A file held open by this test program, as a running program would hold it;
// empty when it cannot be opened.
using HeldFile = std::unique_ptr<void, decltype(&CloseHandle)>;
HeldFile HoldFile(const std::wstring& path, DWORD share);

}  // namespace support
