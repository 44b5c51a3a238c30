// One file from the source disk: expanded in 8 KB blocks through the LZ
// functions while the gauge moves and the window stays alive, or installed
// through the version check into the Windows or system directory. When the
// source has a checksum list, each file's CRC-32 is taken as its blocks are
// written and compared before the file is kept; a plain file that the list
// names is then copied by the same loop instead of the whole-file copy.
#include "files/file_copy.h"

#include <lzexpand.h>
#include <winver.h>

#include <string.h>

#include <iterator>
#include <vector>

#include "files/checksum_list.h"
#include "files/copy_progress.h"
#include "files/crc32.h"
#include "files/install_journal.h"
#include "files/source_disks.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"

namespace {

constexpr int kBlockBytes = 8192;

// The header of a compressed file: signature, mode byte, the character that
// replaced the last letter of the name, and the expanded length (32 bits,
// little-endian).
constexpr BYTE kCompressedSignature[] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr BYTE kCompressedModeA = 'A';
constexpr int kCompressedModeAt = 8;
constexpr int kExpandedLengthAt = 10;
constexpr int kCompressedHeaderBytes = 14;

// An LZ reader over an open file; closing it closes the file too.
class LzReader {
public:
    ~LzReader() { if (handle_ >= 0) LZClose(handle_); }
    bool Open(FileHandle& file)
    {
        HANDLE handle = file.release();
        // A file handle keeps its meaning in 32 bits, which is what the LZ
        // functions take.
        handle_ = LZInit(HandleToLong(handle));
        if (handle_ < 0)
            CloseHandle(handle);
        return handle_ >= 0;
    }
    INT get() const { return handle_; }

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
    FormatBankString(message, std::size(message), LangBase + text, path);
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

void DeleteInDirectory(const wchar_t* dir, const wchar_t* name)
{
    wchar_t path[kJoinedPathChars];
    if (JoinPath(path, kJoinedPathChars, dir, name))
        DeleteFileW(path);
}

// Opens the source for reading, asking once for the next disk while it is
// not there.
bool OpenSource(FileJob& job, FileHandle& source)
{
    for (;;) {
        source.reset(CreateFileW(job.sourcePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (source)
            return true;
        if (!ChangeDisk(job))
            return false;
    }
}

// The expanded length that the header of a compressed source declares. A
// source without the header is damaged: the LZ reader would pass its bytes
// through as if they were the file.
bool ReadExpandedLength(HANDLE source, DWORD& declared)
{
    BYTE header[kCompressedHeaderBytes];
    DWORD read = 0;
    if (!ReadFile(source, header, sizeof header, &read, nullptr) || read != sizeof header ||
        memcmp(header, kCompressedSignature, sizeof kCompressedSignature) != 0 ||
        header[kCompressedModeAt] != kCompressedModeA)
        return false;
    // Windows is little-endian on every processor it runs on.
    memcpy(&declared, header + kExpandedLengthAt, sizeof declared);
    // The LZ reader reads the header again from the start.
    return SetFilePointer(source, 0, nullptr, FILE_BEGIN) == 0;
}

// The length of a plain source, which the LZ reader passes through as it is.
bool ReadPlainLength(HANDLE source, DWORD& length)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(source, &size) || size.QuadPart > 0xFFFFFFFF)
        return false;
    length = static_cast<DWORD>(size.QuadPart);
    return true;
}

// Opens the LZ reader over the source, learning the length it must deliver:
// a compressed source's header must be sound. A read error otherwise.
bool OpenReader(FileJob& job, FileHandle& source, bool compressed, LzReader& reader, DWORD& declared)
{
    const bool sound =
        compressed ? ReadExpandedLength(source.get(), declared) : ReadPlainLength(source.get(), declared);
    if (sound && reader.Open(source))
        return true;
    CopyErrorFlag = true;
    ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
    return false;
}

// Expands the reader into `target` block by block. A source that delivers
// other than the length its header declares, or other bytes than the
// checksum list names, is damaged, not a shorter file. Only compressed
// files of the product directory move the gauge.
bool ExpandBlocks(FileJob& job, INT reader, DWORD declared, HANDLE target, const wchar_t* targetPath,
                  bool movesGauge)
{
    std::vector<BYTE> buffer(kBlockBytes);
    ULONGLONG delivered = 0;
    DWORD crc = 0;
    INT count;
    bool firstBlock = true;
    do {
        count = LZRead(reader, reinterpret_cast<char*>(buffer.data()), kBlockBytes);
        if (count > 0) {
            DWORD written = 0;
            if (!WriteFile(target, buffer.data(), static_cast<DWORD>(count), &written, nullptr) ||
                written < static_cast<DWORD>(count)) {
                CopyErrorFlag = true;
                ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, targetPath);
            }
            delivered += static_cast<ULONGLONG>(count);
            crc = Crc32(crc, buffer.data(), static_cast<size_t>(count));
        } else if (count < 0) {
            CopyErrorFlag = true;
            ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
        }
        if (count >= 0 && movesGauge)
            AdvanceCopyProgress(static_cast<DWORD>(count));
        // The first and the last block of a file drain at once; the blocks
        // between drain when the last drain is old enough.
        if (firstBlock || count != kBlockBytes)
            PumpMessages();
        else
            PumpMessagesWhenDue();
        firstBlock = false;
        if (!CopyErrorFlag)
            CopyErrorFlag = AnswerCancelRequest();
    } while (!CopyErrorFlag && count == kBlockBytes);

    if (!CopyErrorFlag && (delivered != declared || !MatchesChecksum(job.diskName, delivered, crc))) {
        CopyErrorFlag = true;
        ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
    }
    return !CopyErrorFlag;
}

// A file of this call's own in the temporary folder, removed with the owner.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile()
    {
        if (path_[0])
            DeleteFileW(path_);
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the file under a unique name and opens it for writing.
    bool Create(FileHandle& file)
    {
        DWORD chars = GetTempPathW(static_cast<DWORD>(std::size(folder_)), folder_);
        if (chars == 0 || chars >= std::size(folder_) || !GetTempFileNameW(folder_, L"tws", 0, path_)) {
            path_[0] = L'\0';
            return false;
        }
        file.reset(CreateFileW(path_, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file);
    }
    // Not const: the version-checked install takes its names as plain
    // pointers.
    wchar_t* Folder() { return folder_; }
    wchar_t* Name() { return wcsrchr(path_, L'\\') + 1; }
    const wchar_t* Path() const { return path_; }

private:
    wchar_t folder_[MAX_PATH + 1] = {};
    wchar_t path_[MAX_PATH] = {};
};

// Expands the source into a staged file with the checks of every copy, so
// that nothing damaged reaches the version-checked install.
bool StageExpanded(FileJob& job, FileHandle& source, bool compressed, StagedFile& staged)
{
    LzReader reader;
    DWORD declared = 0;
    if (!OpenReader(job, source, compressed, reader, declared))
        return false;
    FileHandle target;
    if (!staged.Create(target)) {
        CopyErrorFlag = true;
        ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, staged.Folder());
        return false;
    }
    return ExpandBlocks(job, reader.get(), declared, target.get(), staged.Path(), false);
}

bool InstallVersionChecked(FileJob& job, bool compressed)
{
    FileHandle source;
    if (!OpenSource(job, source))
        return false;
    StagedFile staged;
    wchar_t* fromDir = job.sourceDir;
    wchar_t* fromName = job.diskName;
    if (compressed || HasChecksum(job.diskName)) {
        if (!StageExpanded(job, source, compressed, staged))
            return false;
        fromDir = staged.Folder();
        fromName = staged.Name();
    }
    source.Close();
    // The file the version check may replace is kept for a failed install.
    if (!KeepCopyOfFile(job.destinationPath)) {
        CopyErrorFlag = true;
        ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, job.destinationPath);
        return false;
    }

    wchar_t temporary[261] = {};
    UINT temporaryChars = static_cast<UINT>(std::size(temporary));
    DWORD result = VerInstallFileW(0, fromName, job.installedName, fromDir, job.destDir, job.destDir, temporary,
                                   &temporaryChars);
    // The copy left beside a kept file is removed only when the platform
    // names it: an unnamed one cannot be told from another program's file.
    if ((result & VIF_TEMPFILE) && temporary[0])
        DeleteInDirectory(job.destDir, temporary);
    if (result & VIF_CANNOTREADSRC) {
        CopyErrorFlag = true;
        ReportPath(IDS_READ_TITLE, IDS_READ_TEXT, job.sourcePath);
        return false;
    }
    // An older source, a file in use or another language leaves the
    // installed file as it is, which is fine; no file at all is not.
    if (IsFile(job.destinationPath))
        return true;
    CopyErrorFlag = true;
    ReportPath(IDS_WRITE_TITLE, IDS_WRITE_TEXT, job.destinationPath);
    return false;
}

// Creates (truncating) the destination, asking Retry or Cancel while it
// cannot be opened. A file already there is first set aside for a failed
// install to put back; one that cannot be moved counts as one that cannot
// be opened.
bool CreateDestination(FileJob& job, FileHandle& destination)
{
    for (;;) {
        if (SetAsideFile(job.destinationPath))
            destination.reset(CreateFileW(job.destinationPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (destination)
            return true;
        wchar_t product[256];
        wchar_t launcher[256];
        LoadBankString(LangBase + IDS_GROUP_NAME, product, std::size(product));
        LoadBankString(LangBase + IDS_JOB_LAUNCHER, launcher, std::size(launcher));
        wchar_t message[1025];
        FormatBankString(message, std::size(message), LangBase + IDS_DEST_OPEN_TEXT, job.destinationPath, product, launcher);
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
    if (source && destination && GetFileTime(source.get(), nullptr, nullptr, &lastWrite))
        SetFileTime(destination.get(), nullptr, nullptr, &lastWrite);
}

bool InstallPlain(FileJob& job, bool compressed)
{
    FileHandle source;
    if (!OpenSource(job, source))
        return false;
    const bool throughReader = compressed || HasChecksum(job.diskName);
    LzReader reader;
    DWORD declared = 0;
    if (throughReader && !OpenReader(job, source, compressed, reader, declared))
        return false;

    FileHandle destination;
    if (!CreateDestination(job, destination))
        return false;
    FileBeingWritten writing(destination);

    if (throughReader) {
        ExpandBlocks(job, reader.get(), declared, destination.get(), job.destinationPath, compressed);
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
    return !CopyErrorFlag;
}

}  // namespace

bool InstallOneFile(const wchar_t* sourceDir, const wchar_t* destDir, TextRef diskName, TextRef installedName,
                    bool compressed, bool versionChecked)
{
    if (CheckCancel())
        return false;
    FileJob job;
    BankText<256> disk(diskName);
    BankText<256> installed(installedName);
    lstrcpynW(job.diskName, disk.c_str(), 256);
    lstrcpynW(job.installedName, installed.c_str(), 256);
    lstrcpynW(job.sourceDir, sourceDir, kPathChars);
    lstrcpynW(job.destDir, destDir, kPathChars);
    JoinPath(job.sourcePath, kJoinedPathChars, job.sourceDir, job.diskName);
    JoinPath(job.destinationPath, kJoinedPathChars, job.destDir, job.installedName);

    if (versionChecked)
        return InstallVersionChecked(job, compressed);
    return InstallPlain(job, compressed);
}
