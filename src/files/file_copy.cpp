// One file from the source disk: expanded in 8 KB blocks through the LZ
// functions while the gauge moves and the window stays alive, or installed
// through the version check into the Windows or system directory.
#include "files/file_copy.h"

#include <lzexpand.h>
#include <winver.h>

#include <set>
#include <string>
#include <vector>

#include "files/copy_progress.h"
#include "files/source_disks.h"
#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"

namespace {

constexpr int kBlockBytes = 8192;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    void Reset(HANDLE handle) { Close(); handle_ = handle; }
    void Close()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    // Hands the handle over to an owner that closes it itself.
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// An LZ reader over an open file; closing it closes the file too.
class LzReader {
public:
    ~LzReader() { if (handle_ >= 0) LZClose(handle_); }
    bool Open(FileHandle& file)
    {
        HANDLE handle = file.Release();
        handle_ = LZInit(static_cast<INT>(reinterpret_cast<INT_PTR>(handle)));
        if (handle_ < 0)
            CloseHandle(handle);
        return handle_ >= 0;
    }
    INT Get() const { return handle_; }

private:
    INT handle_ = -1;
};

// The state of one InstallOneFile call.
struct FileJob {
    wchar_t diskName[256];
    wchar_t installedName[256];
    wchar_t sourceDir[kPathChars];
    wchar_t destDir[kPathChars];
    wchar_t sourcePath[kJoinedPathChars];
    wchar_t destinationPath[kJoinedPathChars];
    bool lookedOnNewDisk = false;
};

void ReportPath(UINT title, UINT text, const wchar_t* path)
{
    wchar_t message[1025];
    FormatBankString(message, 1025, LangBase + text, path);
    AskUser(LangBase + title, message, MB_OK, MB_ICONSTOP, IDOK);
}

// The file is not on the current source: ask once for the next disk. True
// when the caller should look again at the (possibly new) SourcePath.
bool ChangeDisk(FileJob& job)
{
    if (job.lookedOnNewDisk) {
        CopyErrorFlag = true;
        ReportPath(IDS_SOURCE_OPEN_TITLE, IDS_SOURCE_OPEN_TEXT, job.sourcePath);
        return false;
    }
    ++CurrentDisk;
    if (!RequestSourceDisk(false, CurrentDisk, job.diskName))
        return false;
    lstrcpynW(job.sourceDir, SourcePath, kPathChars);
    JoinPath(job.sourcePath, kJoinedPathChars, job.sourceDir, job.diskName);
    job.lookedOnNewDisk = true;
    return true;
}

bool IsFile(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The names of the temporary files in `dir`.
std::set<std::wstring> TemporaryFiles(const wchar_t* dir)
{
    std::set<std::wstring> names;
    wchar_t pattern[kJoinedPathChars];
    JoinPath(pattern, kJoinedPathChars, dir, L"*.tmp");
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.insert(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

void DeleteInDirectory(const wchar_t* dir, const wchar_t* name)
{
    wchar_t path[kJoinedPathChars];
    if (JoinPath(path, kJoinedPathChars, dir, name))
        DeleteFileW(path);
}

// Removes the temporary copy that the version-checked install left beside
// the file it kept. Some platforms set VIF_TEMPFILE without naming the copy;
// then it is the temporary file that appeared during the call.
void RemoveTemporaryCopy(const wchar_t* dir, const wchar_t* reported, const std::set<std::wstring>& before)
{
    if (reported[0]) {
        DeleteInDirectory(dir, reported);
        return;
    }
    for (const std::wstring& name : TemporaryFiles(dir))
        if (!before.count(name))
            DeleteInDirectory(dir, name.c_str());
}

int InstallVersionChecked(FileJob& job)
{
    for (;;) {
        wchar_t temporary[261] = {};
        UINT temporaryChars = 261;
        std::set<std::wstring> before = TemporaryFiles(job.destDir);
        DWORD result = VerInstallFileW(0, job.diskName, job.installedName, job.sourceDir, job.destDir,
                                       job.destDir, temporary, &temporaryChars);
        if (result & VIF_TEMPFILE)
            RemoveTemporaryCopy(job.destDir, temporary, before);
        if (!(result & VIF_CANNOTREADSRC)) {
            // An older source, a file in use or another language leaves the
            // installed file as it is, which is fine; no file at all is not.
            if (IsFile(job.destinationPath))
                return 1;
            CopyErrorFlag = true;
            ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, job.destinationPath);
            return 0;
        }
        if (!ChangeDisk(job))
            return 0;
    }
}

// Creates (truncating) the destination, asking Retry or Cancel while it
// cannot be opened.
bool CreateDestination(FileJob& job, FileHandle& destination)
{
    for (;;) {
        destination.Reset(CreateFileW(job.destinationPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (destination.Valid())
            return true;
        wchar_t product[256];
        wchar_t launcher[256];
        LoadBankString(LangBase + IDS_GROUP_NAME, product, 255);
        LoadBankString(LangBase + IDS_JOB_LAUNCHER, launcher, 255);
        wchar_t message[1025];
        FormatBankString(message, 1025, LangBase + IDS_DEST_OPEN_TEXT, job.destinationPath, product, launcher);
        if (AskUser(LangBase + IDS_DEST_OPEN_TITLE, message, MB_RETRYCANCEL, MB_ICONEXCLAMATION, IDCANCEL) !=
            IDRETRY) {
            CopyErrorFlag = true;
            return false;
        }
    }
}

void CarryLastWriteTime(const FileJob& job)
{
    FileHandle source(CreateFileW(job.sourcePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    FileHandle destination(CreateFileW(job.destinationPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME lastWrite;
    if (source.Valid() && destination.Valid() && GetFileTime(source.Get(), nullptr, nullptr, &lastWrite))
        SetFileTime(destination.Get(), nullptr, nullptr, &lastWrite);
}

// Expands the source into the destination block by block. The source's
// header declares the expanded length: a source that ends before it has
// delivered that much is damaged, not a shorter file.
void ExpandBlocks(FileJob& job, INT reader, HANDLE destination, std::vector<BYTE>& buffer)
{
    LONG declared = LZSeek(reader, 0, 2);
    LZSeek(reader, 0, 0);
    ULONGLONG delivered = 0;
    INT count;
    do {
        count = LZRead(reader, reinterpret_cast<char*>(buffer.data()), kBlockBytes);
        if (count > 0) {
            DWORD written = 0;
            if (!WriteFile(destination, buffer.data(), static_cast<DWORD>(count), &written, nullptr) ||
                written < static_cast<DWORD>(count)) {
                CopyErrorFlag = true;
                ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, job.destinationPath);
            }
            delivered += static_cast<ULONGLONG>(count);
        } else if (count < 0) {
            CopyErrorFlag = true;
            ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
        }
        if (count >= 0)
            AdvanceCopyProgress(static_cast<DWORD>(count));
        PumpMessages();
        if (!CopyErrorFlag)
            CopyErrorFlag = CheckCancel();
    } while (!CopyErrorFlag && count == kBlockBytes);

    if (!CopyErrorFlag && declared >= 0 && delivered != static_cast<ULONGLONG>(declared)) {
        CopyErrorFlag = true;
        ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
    }
}

int InstallPlain(FileJob& job, bool compressed)
{
    std::vector<BYTE> buffer(kBlockBytes);
    FileHandle source;
    for (;;) {
        source.Reset(CreateFileW(job.sourcePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (source.Valid())
            break;
        if (!ChangeDisk(job))
            return 0;
    }

    LzReader reader;
    if (compressed && !reader.Open(source)) {
        CopyErrorFlag = true;
        ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
        return 0;
    }

    FileHandle destination;
    if (!CreateDestination(job, destination))
        return 0;

    if (compressed) {
        ExpandBlocks(job, reader.Get(), destination.Get(), buffer);
        destination.Close();
        CarryLastWriteTime(job);
    } else {
        // The whole-file copy opens the destination itself.
        destination.Close();
        source.Close();
        if (CopyFileW(job.sourcePath, job.destinationPath, FALSE)) {
            DWORD attributes = GetFileAttributesW(job.destinationPath);
            if (attributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesW(job.destinationPath, attributes & ~FILE_ATTRIBUTE_READONLY);
        } else {
            CopyErrorFlag = true;
            ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, job.destinationPath);
        }
    }
    return CopyErrorFlag ? 0 : 1;
}

}  // namespace

int InstallOneFile(const wchar_t* sourceDir, const wchar_t* destDir, TextRef diskName, TextRef installedName,
                   bool compressed, bool versionChecked)
{
    if (CheckCancel())
        return 0;
    FileJob job;
    BankText<256> disk(diskName, 255);
    BankText<256> installed(installedName, 255);
    lstrcpynW(job.diskName, disk.c_str(), 256);
    lstrcpynW(job.installedName, installed.c_str(), 256);
    lstrcpynW(job.sourceDir, sourceDir, kPathChars);
    lstrcpynW(job.destDir, destDir, kPathChars);
    JoinPath(job.sourcePath, kJoinedPathChars, job.sourceDir, job.diskName);
    JoinPath(job.destinationPath, kJoinedPathChars, job.destDir, job.installedName);

    if (versionChecked)
        return InstallVersionChecked(job);
    return InstallPlain(job, compressed);
}
