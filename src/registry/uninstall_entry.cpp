#include "registry/uninstall_entry.h"

#include <wchar.h>

#include <iterator>

#include "registry/product_keys.h"
#include "res/resource_ids.h"
#include "res/version.h"
#include "shell/handles.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

constexpr wchar_t kPublisher[] = L"" SETUP_COMPANY_NAME;
constexpr wchar_t kDisplayVersion[] = L"" SETUP_VERSION_TEXT;

// The entry offers removal only: setup has no repair and no change of an
// installed copy.
constexpr DWORD kNoModify = 1;
constexpr DWORD kNoRepair = 1;

// The entry's texts, each in a buffer of its own.
struct EntryTexts {
    wchar_t name[256];
    wchar_t location[kPathChars];
    wchar_t program[kJoinedPathChars];
    wchar_t date[16];
    wchar_t uninstall[kJoinedPathChars + 64];
    wchar_t quietUninstall[kJoinedPathChars + 80];
};

// The installed copy of setup with the options that run its uninstall
// without the menu, in the install's language, so that no language dialog
// comes first; unattended too with `quiet`.
void UninstallCommand(wchar_t* command, size_t chars, const wchar_t* program, bool quiet)
{
    wchar_t maintenance[16];
    wchar_t uninstall[16];
    wchar_t unattended[16];
    LoadBankString(LangBase + IDS_OPT_MAINTENANCE, maintenance, std::size(maintenance));
    LoadBankString(LangBase + IDS_OPT_UNINSTALL, uninstall, std::size(uninstall));
    LoadBankString(LangBase + IDS_OPT_UNATTENDED, unattended, std::size(unattended));
    FormatBankString(command, chars, L"%s %s %s %s%u%s%s", program, maintenance, uninstall, kLanguageOption,
                     LangBase / 1000, quiet ? L" " : L"", quiet ? unattended : L"");
}

void ComposeTexts(const wchar_t* directory, EntryTexts& texts)
{
    LoadBankString(LangBase + IDS_GROUP_NAME, texts.name, std::size(texts.name));
    lstrcpynW(texts.location, directory, static_cast<int>(std::size(texts.location)));
    size_t length = wcslen(texts.location);
    if (length > 3 && texts.location[length - 1] == L'\\')
        texts.location[length - 1] = 0;
    wchar_t setupName[256];
    LoadBankString(LangBase + IDS_FILENAME_SETUP, setupName, std::size(setupName));
    JoinPath(texts.program, std::size(texts.program), directory, setupName);
    SYSTEMTIME today;
    GetLocalTime(&today);
    FormatBankString(texts.date, std::size(texts.date), L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    UninstallCommand(texts.uninstall, std::size(texts.uninstall), texts.program, false);
    UninstallCommand(texts.quietUninstall, std::size(texts.quietUninstall), texts.program, true);
}

bool SetText(HKEY key, const wchar_t* name, const wchar_t* text)
{
    const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD number)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) ==
           ERROR_SUCCESS;
}

}  // namespace

bool WriteUninstallEntry(const wchar_t* directory, DWORD kilobytes)
{
    EntryTexts texts;
    ComposeTexts(directory, texts);
    RegistryKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, kUninstallKey) != ERROR_SUCCESS)
        return false;
    const struct {
        const wchar_t* name;
        const wchar_t* text;
    } textValues[] = {
        {L"DisplayName", texts.name},
        {L"DisplayVersion", kDisplayVersion},
        {L"Publisher", kPublisher},
        {L"InstallLocation", texts.location},
        {L"DisplayIcon", texts.program},
        {L"InstallDate", texts.date},
        {L"UninstallString", texts.uninstall},
        {L"QuietUninstallString", texts.quietUninstall},
    };
    const struct {
        const wchar_t* name;
        DWORD number;
    } numberValues[] = {
        {L"EstimatedSize", kilobytes},
        {L"NoModify", kNoModify},
        {L"NoRepair", kNoRepair},
    };
    bool written = true;
    for (const auto& value : textValues)
        written = SetText(key.get(), value.name, value.text) && written;
    for (const auto& value : numberValues)
        written = SetNumber(key.get(), value.name, value.number) && written;
    return written;
}
