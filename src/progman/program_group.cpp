#include "progman/program_group.h"

#include <string>

#include "files/file_table.h"
#include "progman/dde_client.h"
#include "progman/progman_commands.h"
#include "res/resource_ids.h"
#include "shell/message_box.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/progress.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

constexpr int kNameChars = 257;
constexpr UINT kBankSpan = 1000;
constexpr DWORD kGroupWindowPollMs = 50;
// Characters that end an unquoted option value or a command field.
constexpr wchar_t kValueNeedsQuotes[] = L" ,()[]";

int CommonFlag()
{
    return CommonGroup ? kCommonGroup : kPersonalGroup;
}

std::wstring LoadName(UINT id)
{
    BankText<kNameChars> text(id);
    return text.c_str();
}

// "/U:<source>  /L:<language>": the setup item starts maintenance from
// the install's source in the install's language. A source that would end
// the option's value is quoted.
std::wstring MaintenanceArguments()
{
    std::wstring source = SourcePath;
    if (source.find_first_of(kValueNeedsQuotes) != std::wstring::npos)
        source = L"\"" + source + L"\"";
    return LoadName(LangBase + IDS_OPT_MAINTENANCE) + source + L"  " + kLanguageOption +
           std::to_wstring(LangBase / kBankSpan);
}

struct WindowCount {
    std::wstring title;
    int shown;
};

BOOL CALLBACK CountGroupWindow(HWND window, LPARAM lParam)
{
    auto* count = reinterpret_cast<WindowCount*>(lParam);
    wchar_t title[kNameChars];
    if (IsWindowVisible(window) && GetWindowTextW(window, title, kNameChars) && count->title == title)
        ++count->shown;
    return TRUE;
}

}  // namespace

int GroupWindowsShown()
{
    WindowCount count = {LoadName(LangBase + IDS_GROUP_NAME), 0};
    EnumWindows(CountGroupWindow, reinterpret_cast<LPARAM>(&count));
    return count.shown;
}

int WaitForGroupWindows(int shownBefore)
{
    const DWORD start = GetTickCount();
    DWORD lastChange = start;
    int shown = shownBefore;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD quiet = shown > shownBefore ? kGroupWindowsSettledMs : kGroupWindowFirstMs;
        if (now - lastChange >= quiet || now - start >= kGroupWindowsWaitMs || CancelConfirmed)
            return shown - shownBefore;
        WaitPumping(kGroupWindowPollMs);
        const int count = GroupWindowsShown();
        if (count != shown)
            lastChange = GetTickCount();
        shown = count;
    }
}

void RaiseOverGroupWindows(HWND frame)
{
    if (IsUnattended())
        return;
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(frame);
}

bool AddGroupItem(const wchar_t* dir, UINT groupId, UINT titleId, UINT exeNameId, UINT argsId)
{
    if (CheckCancel())
        return false;
    const std::wstring args = argsId == LangBase + IDS_OPT_MAINTENANCE ? MaintenanceArguments() : std::wstring();
    return PmReplaceAndAddItem(LoadName(groupId), CommonFlag(), dir + LoadName(exeNameId), dir, args,
                               LoadName(titleId), kItemIcon, kItemNotMinimized);
}

bool AddGroupItems(const wchar_t* dir)
{
    PmDeleteItem(LoadName(LangBase + IDS_GROUP_NAME), CommonFlag(), kOldItemTitle);
    bool result = true;
    for (int order = 0; order < kFileCount; ++order) {
        for (int row = 0; row < kFileCount; ++row) {
            const FileEntry& file = kFileTable[row];
            if (!(file.installTypes & InstallType) || !(file.flags & kFileHasItem) || file.itemOrder != order)
                continue;
            const UINT argsId = file.itemArgsId == kNoItemArgs ? 0 : LangBase + file.itemArgsId;
            if (AddGroupItem(dir, LangBase + IDS_GROUP_NAME, LangBase + file.itemTitleId,
                             LangBase + file.installedNameId, argsId))
                continue;
            if (CancelConfirmed)
                return false;
            result = false;
        }
    }
    return result;
}

bool CreateProgramGroup(HINSTANCE instance)
{
    SetActionText(LangBase + IDS_ACTION_ADDING_ICONS);
    if (!DdeClientOpen(instance))
        return false;
    AddGroupItems(DestinationPath);
    DdeClientClose();
    return true;
}

bool RemoveProgramGroup(HINSTANCE instance)
{
    if (!DdeClientOpen(instance))
        return false;
    const std::wstring group = LoadName(LangBase + IDS_GROUP_NAME);
    const bool personal = PmDeleteGroup(group, kPersonalGroup);
    const bool common = PmDeleteGroup(group, kCommonGroup);
    DdeClientClose();
    return personal || common;
}
