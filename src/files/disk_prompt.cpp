// The "Load Install Disk" prompt: names the disk and the drive, and lets the
// user type another path, which then serves every later file.
#include <iterator>

#include "files/source_disks.h"
#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/event_log.h"
#include "shell/handles.h"
#include "shell/message_box.h"
#include "shell/modal_dialog.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// What the prompt shows, and on OK the path the user gave.
struct PromptRequest {
    wchar_t path[kPathChars];
    bool isLoaderDisk;
    int diskNumber;
    const wchar_t* fileName;
};

// The prompt's two texts: which disk goes into which drive, and which file
// was not found.
struct PromptTexts {
    wchar_t where[1025];
    wchar_t missing[1025];
};

void FormatPromptTexts(const PromptRequest& request, PromptTexts& texts)
{
    FormatBankString(texts.missing, std::size(texts.missing), LangBase + IDS_DISK_MISSING, request.fileName);
    wchar_t drive[3] = L"A:";
    wchar_t first = request.path[0];
    if ((first >= L'A' && first <= L'Z') || (first >= L'a' && first <= L'z'))
        drive[0] = first;
    if (request.isLoaderDisk)
        FormatBankString(texts.where, std::size(texts.where), LangBase + IDS_INSERT_LOADER, drive);
    else
        FormatBankString(texts.where, std::size(texts.where), LangBase + IDS_INSERT_DISK, request.diskNumber, drive);
}

// Unattended, the prompt is not shown and counts as a cancel: the event log
// says which disk and file were missing.
void ReportPromptCancelled(const PromptRequest& request)
{
    PromptTexts texts;
    FormatPromptTexts(request, texts);
    wchar_t text[std::size(texts.where) + std::size(texts.missing)];
    FormatBankString(text, std::size(text), L"%s\n\n%s", texts.where, texts.missing);
    ReportUnattendedAnswer(LangBase + IDS_DISK_CAPTION, text, MB_ICONEXCLAMATION, IDS_CANCEL);
}

BOOL OnInitDialog(HWND dialog)
{
    auto request = DialogRequest<PromptRequest>(dialog);
    CenterOnParent(dialog);
    SendDlgItemMessageW(dialog, IDC_DISK_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_EXCLAMATION)), 0);
    SetDialogText(dialog, 0, LangBase + IDS_DISK_CAPTION);
    SetDialogText(dialog, IDOK, LangBase + IDS_OK);
    SetDialogText(dialog, IDCANCEL, LangBase + IDS_CANCEL);

    PromptTexts texts;
    FormatPromptTexts(*request, texts);
    SetDlgItemTextW(dialog, IDC_DISK_MISSING, texts.missing);
    MessageBeep(MB_ICONEXCLAMATION);
    SetDlgItemTextW(dialog, IDC_DISK_WHERE, texts.where);

    SendDlgItemMessageW(dialog, IDC_DISK_PATH, EM_LIMITTEXT, kPathChars - 1, 0);
    SetDlgItemTextW(dialog, IDC_DISK_PATH, request->path);
    return TRUE;
}

BOOL OnCommand(HWND dialog, WPARAM command)
{
    int id = LOWORD(command);
    if (id == IDOK) {
        GetDlgItemTextW(dialog, IDC_DISK_PATH, DialogRequest<PromptRequest>(dialog)->path, kPathChars);
        // Finding the disk withdraws a cancel the user asked for earlier.
        CancelRequested = false;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        CancelRequested = true;
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

// Shows the prompt naming `fileName`; true on OK, with `path` the path the
// user gave and a trailing backslash, false on Cancel.
bool PromptForDisk(wchar_t* path, bool isLoaderDisk, int diskNumber, const wchar_t* fileName)
{
    PromptRequest request = {{}, isLoaderDisk, diskNumber, fileName};
    lstrcpynW(request.path, path, kPathChars);
    if (IsUnattended()) {
        ReportPromptCancelled(request);
        CancelRequested = true;
        return false;
    }
    if (RunModalDialog(IDD_DISK_PROMPT, DialogOwner, DialogProcedure<OnInitDialog, OnCommand>, &request) !=
        DialogResult::Accepted) {
        // Gone with its owner (the frame closed) it is a cancel as well.
        CancelRequested = true;
        return false;
    }
    lstrcpynW(path, request.path, kPathChars);
    AppendBackslash(path, kPathChars);
    return true;
}

}  // namespace

bool IsExpectedDisk(const wchar_t* path, const wchar_t* label, const wchar_t* fileName)
{
    if (!path || !*path)
        return false;
    wchar_t volume[80];
    if (!GetVolumeInformationW(path, volume, 80, nullptr, nullptr, nullptr, nullptr, 0))
        volume[0] = 0;
    if (lstrcmpiW(volume, label) == 0)
        return true;
    if (!fileName || !*fileName)
        return false;
    if (lstrlenW(path) >= 259 - lstrlenW(fileName))
        return false;
    wchar_t candidate[kPathChars];
    JoinPath(candidate, kPathChars, path, fileName);
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW(candidate, &found));
    return static_cast<bool>(search);
}

bool RequestSourceDisk(bool isLoaderDisk, int diskNumber, const wchar_t* fileName)
{
    wchar_t label[16];
    if (isLoaderDisk)
        lstrcpynW(label, kLoaderLabel, ARRAYSIZE(label));
    else
        wsprintfW(label, L"DISK%d", diskNumber);
    wchar_t working[kPathChars];
    lstrcpynW(working, SourcePath, kPathChars);
    wchar_t sought[kPathChars];
    lstrcpynW(sought, fileName ? fileName : L"", kPathChars);

    for (;;) {
        if (!PromptForDisk(working, isLoaderDisk, diskNumber, sought) && CheckCancel())
            return false;
        if (IsExpectedDisk(working, label, sought)) {
            lstrcpynW(SourcePath, working, kPathChars);
            return true;
        }
    }
}
