// The loader module's install: rights first, then the loader disk, the
// table expanded beside setup, the drivers, and the table into the
// registry. Each step stays done when a later one fails.
#include "loader/loader_module.h"

#include <iterator>

#include "files/copy_progress.h"
#include "files/file_copy.h"
#include "files/source_disks.h"
#include "res/resource_ids.h"
#include "shell/handles.h"
#include "shell/message_box.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

bool CanWriteChangerKey()
{
    RegistryKey key;
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, kChangerKey, 0, nullptr, REG_OPTION_NON_VOLATILE, GENERIC_WRITE,
                           nullptr, key.receive(), nullptr) == ERROR_SUCCESS;
}

// The install from the loader disk into `setupDir`, setup's own directory.
bool InstallFromLoaderDisk(const wchar_t* setupDir)
{
    if (!CanWriteChangerKey()) {
        AskUser(LangBase + IDS_PRIVILEGE_TITLE, LangBase + IDS_LOADER_NOT_ADMIN, MB_OK, MB_ICONINFORMATION, IDOK);
        return false;
    }
    wchar_t tableName[kPathChars + 1];
    LoadBankString(LangBase + IDS_DISKNAME_VSDTABLE, tableName, std::size(tableName));
    // Unattended nobody can insert a disk, so a source that already holds
    // the loader disk is taken as it is; the prompt would only cancel.
    const bool inPlace = IsUnattended() && IsExpectedDisk(SourcePath, kLoaderLabel, tableName);
    if (!inPlace && !RequestSourceDisk(true, 0, tableName))
        return false;

    SetInfoText(BillboardId);
    ShowPercentWindow(true);
    CurrentDisk = 1;
    SetCopyPercent(0);
    SetActionText(LangBase + IDS_ACTION_PERFORMING);
    SetCopyPercent(5);
    SetActionText(LangBase + IDS_ACTION_COPYING);
    if (!InstallOneFile(SourcePath, setupDir, LangBase + IDS_DISKNAME_VSDTABLE, LangBase + IDS_FILENAME_VSDTABLE,
                        true, false))
        return false;

    SetCopyPercent(40);
    if (!InstallChangerDrivers()) {
        AskUser(LangBase + IDS_DRIVERS_TITLE, LangBase + IDS_DRIVERS_TEXT, MB_OK, MB_ICONSTOP, IDOK);
        return false;
    }
    SetCopyPercent(95);
    return WriteVsdLoadTable(setupDir);
}

}  // namespace

bool InstallLoaderModule()
{
    InitCopyProgress();
    wchar_t setupDir[kPathChars];
    if (!GetProgramDirectory(setupDir)) {
        ShowUnexpectedError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (!InstallFromLoaderDisk(setupDir)) {
        // The expanded table is of no use once the run has failed, and it
        // is no file of the product's.
        wchar_t table[kJoinedPathChars];
        BankText<256> name(LangBase + IDS_FILENAME_VSDTABLE);
        if (JoinPath(table, kJoinedPathChars, setupDir, name.c_str()))
            DeleteFileW(table);
        return false;
    }

    SetActionText(LangBase + IDS_ACTION_COMPLETE);
    wchar_t ok[30];
    LoadBankString(LangBase + IDS_OK, ok, std::size(ok));
    SetWindowTextW(CancelButton, ok);
    SetCopyPercent(100);
    return true;
}
