// One file from the source: a damaged source is a read error that replaces
// nothing, by either kind of install, and a failure stays failed; the
// checksum list, read whole or refused; and a source disk is recognised by
// its label or by the file sought.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/checksum_list.h"
#include "files/copy_progress.h"
#include "files/file_copy.h"
#include "files/source_disks.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/install_support.h"

using namespace support;

namespace {

TEST(FileCopy, DamagedSourceIsAReadErrorAndReplacesNothing)
{
    const std::wstring share = FixturePath(L"share-en"), damaged = L"C:\\TWDAMAGED\\", target = L"C:\\TWCOPY\\";
    const std::wstring temporary = std::filesystem::temp_directory_path();
    // One damage for each check of the reader: the header's size, the
    // signature (this file declares the length of its plain bytes), the
    // length; and one that keeps the length (the byte after the 14-byte
    // header and the first flag byte is the file's first byte, always a
    // literal), which only the checksum list shows, as it shows any damage
    // to a plain file.
    const struct {
        const char* what;
        void (*damage)(std::string&);
        bool formatShows;
    } damages[] = {
        {"shorter than the header", [](std::string& bytes) { bytes.resize(10); }, true},
        {"no signature", [](std::string& bytes) { bytes.assign("not SZDD: \x0e\0\0\0", 14); }, true},
        {"cut in half", [](std::string& bytes) { bytes.resize(bytes.size() / 2); }, true},
        {"first expanded byte changed", [](std::string& bytes) { bytes[15] ^= 0x20; }, false},
    };
    ResetSetupState(L"setup.exe /L:1");
    InitCopyProgress();
    CreateDirectoryW(damaged.c_str(), nullptr);
    CreateDirectoryW(target.c_str(), nullptr);
    // A library without version information is replaced by any readable one.
    const std::wstring unversioned = ProductFile(L"readme.txt");
    const std::set<std::wstring> temporaryBefore = FilesIn(temporary);
    for (bool withList : {false, true}) {
        withList ? CopyFileW((share + L"checksum.lst").c_str(), (damaged + L"checksum.lst").c_str(), FALSE)
                 : DeleteFileW((damaged + L"checksum.lst").c_str());
        ASSERT_TRUE(LoadChecksumList(damaged.c_str()));
        for (const auto& d : damages) {
            for (auto [diskName, name, compressed, versionChecked] :
                 {std::tuple{L"twserver.ex_", L"twserver.exe", true, false}, {L"dlg3d32.dl_", L"dlg3d32.dll", true, true},
                  {L"readenu.txt", L"readme.txt", false, false}}) {
                SCOPED_TRACE(testing::Message() << d.what << ", " << diskName << (withList ? ", with the list" : ""));
                const bool shows = withList || (d.formatShows && compressed);
                std::string bytes = FileBytes(share + diskName);
                d.damage(bytes);
                WriteBytes(damaged + diskName, bytes);
                ASSERT_TRUE(CopyFileW(unversioned.c_str(), (target + L"dlg3d32.dll").c_str(), FALSE));
                CopyErrorFlag = false;
                MessageBoxAnswerer answerer({IDOK});
                EXPECT_EQ(InstallOneFile(damaged.c_str(), target.c_str(), diskName, name, compressed, versionChecked),
                          !shows);
                EXPECT_EQ(CopyErrorFlag, shows);
                ASSERT_EQ(answerer.Boxes().size(), shows ? 1u : 0u);
                if (shows) {
                    EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Reading File");
                    EXPECT_NE(answerer.Boxes()[0].text.find(damaged + diskName), std::wstring::npos);
                    EXPECT_TRUE(SameBytes(target + L"dlg3d32.dll", unversioned));
                }
                EXPECT_EQ(FilesIn(temporary), temporaryBefore);
            }
        }
    }
    // Once a copy has failed, every later plain copy reports failure.
    EXPECT_FALSE(InstallOneFile(share.c_str(), target.c_str(), L"nmsapi.dl_", L"nmsapi.dll", true, false));
    RemoveTree(damaged);
    RemoveTree(target);
}

// The checksum list is taken whole or refused whole: one that cannot be
// trusted is a read error of the list, before any file is copied.
TEST(Checksums, AListIsTakenWholeOrIsAReadErrorOfTheList)
{
    const std::wstring source = L"C:\\TWLIST\\", list = source + L"checksum.lst";
    const std::string sound = FileBytes(FixturePath(L"share-en\\checksum.lst"));
    auto lineOf = [&](const char* name) {
        const size_t at = sound.find(std::string("\r\n") + name + " ") + 2;
        return sound.substr(at, sound.find("\r\n", at) + 2 - at);
    };
    auto without = [&](const std::string& text) {
        std::string changed = sound;
        return changed.erase(changed.find(text), text.size());
    };
    auto replaced = [&](const std::string& text, const std::string& by) {
        std::string changed = sound;
        return changed.replace(changed.find(text), text.size(), by);
    };
    const struct {
        const char* what;
        std::string list;  // empty: no list; "/": a folder of the list's name
        DWORD installType;
        bool taken;
    } cases[] = {
        {"no list", "", kInstallBackupServer, true},
        {"as the media carry it", sound, kInstallBackupServer, true},
        {"lines ended by LF", replaced("\r\n", "\n"), kInstallBackupServer, true},
        {"another version", replaced("version 1", "version 2"), kInstallBackupServer, false},
        {"no header", without("Tapewright checksum list, version 1\r\n"), kInstallBackupServer, false},
        {"an empty line", replaced("\r\n", "\r\n\r\n"), kInstallBackupServer, false},
        {"two fields", sound + "extra.ex_ 12\r\n", kInstallBackupServer, false},
        {"a CRC of seven digits", sound + "extra.ex_ 12 1234567\r\n", kInstallBackupServer, false},
        {"a CRC that is not hexadecimal", sound + "extra.ex_ 12 1234567g\r\n", kInstallBackupServer, false},
        {"a size that is no number", sound + "extra.ex_ 1x 12345678\r\n", kInstallBackupServer, false},
        {"a size beyond 32 bits", sound + "extra.ex_ 4294967296 12345678\r\n", kInstallBackupServer, false},
        {"a name twice", sound + lineOf("twnser.ex_"), kInstallBackupServer, false},
        {"a server file missing", without(lineOf("twserver.ex_")), kInstallBackupServer, false},
        {"a server file missing, for JobScope Only", without(lineOf("twserver.ex_")), kInstallJobScopeOnly, true},
        {"a folder in its place", "/", kInstallBackupServer, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSetupState(L"setup.exe /L:1");
        InstallType = c.installType;
        RemoveTree(source);
        CreateDirectoryW(source.c_str(), nullptr);
        if (c.list == "/")
            CreateDirectoryW(list.c_str(), nullptr);
        else if (!c.list.empty())
            WriteBytes(list, c.list);
        MessageBoxAnswerer answerer({IDOK});
        EXPECT_EQ(LoadChecksumList(source.c_str()), c.taken);
        EXPECT_EQ(CopyErrorFlag, !c.taken);
        EXPECT_EQ(HasChecksum(L"TWNSER.EX_"), c.taken && !c.list.empty());
        ASSERT_EQ(answerer.Boxes().size(), c.taken ? 0u : 1u);
        if (!c.taken) {
            EXPECT_EQ(answerer.Boxes()[0].caption, L"Error Reading File");
            EXPECT_NE(answerer.Boxes()[0].text.find(list), std::wstring::npos);
        }
    }
    RemoveTree(source);
}

// The version check keeps a newer library in the system directory, and the
// platform's leftover copy is removed without taking another program's file.
TEST(FileCopy, VersionCheckKeepsANewerFileAndNobodyElses)
{
    const std::wstring share = FixturePath(L"share-en"), system = SystemDirectory(), library = system + L"dlg3d32.dll";
    ResetSetupState(L"setup.exe /L:1");
    InitCopyProgress();
    const std::set<std::wstring> before = FilesIn(system);
    ASSERT_TRUE(CopyFileW(FixturePath(L"dlg3d32-v2.dll").c_str(), library.c_str(), FALSE));
    const std::wstring othersFile = system + L"twother.tmp";
    CreateEmptyFile(othersFile);
    EXPECT_TRUE(InstallOneFile(share.c_str(), system.c_str(), L"dlg3d32.dl_", L"dlg3d32.dll", true, true));
    EXPECT_TRUE(SameBytes(library, FixturePath(L"dlg3d32-v2.dll")));
    EXPECT_TRUE(DeleteFileW(othersFile.c_str()));
    EXPECT_FALSE(CopyErrorFlag);
    // Wine never names its copy of the source, so an unnamed one may stay.
    for (const std::wstring& name : FilesIn(system)) {
        if (!before.count(name) && name != L"dlg3d32.dll") {
            EXPECT_TRUE(SameBytes(system + name, FixturePath(L"dlg3d32-v1.dll"))) << name.c_str();
        }
    }
    DeleteFileW(library.c_str());
}

TEST(SourceDisks, DiskIsRecognisedByLabelOrByTheFileSought)
{
    ResetSetupState();
    ASSERT_TRUE(InsertDisk(FixturePath(L"disks-en\\disk2")));
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"disk2", L"no-such-file"));  // the label, case ignored
    EXPECT_TRUE(IsExpectedDisk(L"A:\\", L"DISK3", L"twnser.ex_"));    // the file is there
    // A directory is no volume: only the file counts, where the path has room.
    const std::wstring share = FixturePath(L"share-en"), deep = L"C:\\" + std::wstring(245, L'd') + L"\\";
    EXPECT_TRUE(IsExpectedDisk(share.c_str(), L"DISK2", L"twdiag.ex_"));
    EXPECT_FALSE(IsExpectedDisk(share.c_str(), L"DISK2", L"missing.ex_"));
    EXPECT_FALSE(IsExpectedDisk(deep.c_str(), L"DISK2", L"twdiag.ex_"));
}

}  // namespace
