#pragma once
// What the install tests set up and look at on the system: fixture disk
// sets, the floppy drive A:, the installed tree, the product's registry key.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

// A path below the fixtures folder (product files and disk sets), with a
// trailing backslash when `relative` names a folder.
std::wstring FixturePath(const std::wstring& relative);

// The product's own copy of a file, by its English installed name.
std::wstring ProductFile(const std::wstring& name);

// Deletes a directory tree (or a file); absent is fine.
void RemoveTree(const std::wstring& path);

// Creates an empty file (or empties one).
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

bool SameBytes(const std::wstring& a, const std::wstring& b);

// The ways a compressed source file is found damaged.
enum class SourceDamage { kTruncated, kHeaderOnly, kShorterThanHeader, kEmpty, kNoHeader, kLength2Gb, kLengthMax };
constexpr SourceDamage kEverySourceDamage[] = {
    SourceDamage::kTruncated, SourceDamage::kHeaderOnly, SourceDamage::kShorterThanHeader, SourceDamage::kEmpty,
    SourceDamage::kNoHeader,  SourceDamage::kLength2Gb,  SourceDamage::kLengthMax,
};
const char* DamageName(SourceDamage damage);

// Writes `to` as a copy of the compressed file `from` with `damage` done to
// it; false when `from` cannot be read or `to` cannot be written.
bool WriteDamagedCopy(const std::wstring& from, const std::wstring& to, SourceDamage damage);
ULONGLONG LastWriteTime(const std::wstring& path);

// Removes HKLM\Software\Velmar with everything below it.
void RemoveProductRegistry();

// A registry value as stored.
struct RegistryValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    DWORD Number() const;       // 0xDEADBEEF unless exactly four bytes
    std::wstring Text() const;  // up to the first terminator
};

// A value below HKEY_LOCAL_MACHINE.
RegistryValue ReadRegistryValue(const std::wstring& key, const wchar_t* name);

// This computer's name, as the product asks for it.
std::wstring ComputerName();

// The system directory with a trailing backslash.
std::wstring SystemDirectory();

// A file held open by this test program, as a running program would hold it.
class HeldFile {
public:
    HeldFile(const std::wstring& path, DWORD share);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Creates the empty file `path` from another thread at the first change of a
// file name in `folder`, as another program could while setup works there.
class FileCreatedOnChange {
public:
    FileCreatedOnChange(const std::wstring& folder, const std::wstring& path);
    ~FileCreatedOnChange();
    FileCreatedOnChange(const FileCreatedOnChange&) = delete;
    FileCreatedOnChange& operator=(const FileCreatedOnChange&) = delete;

private:
    static DWORD WINAPI Watch(void* self);

    std::wstring path_;
    HANDLE change_;
    HANDLE stop_;
    HANDLE thread_;
};

// The percent panel's button of a setup frame.
HWND FindCancelButton(HWND frame);
