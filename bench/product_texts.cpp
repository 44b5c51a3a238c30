#include "product_texts.h"

#include <algorithm>

#include "files/file_table.h"
#include "progman/progman_commands.h"
#include "progman/program_group.h"
#include "res/resource_ids.h"
#include "services/service_table.h"

namespace {

// The English bank.
constexpr UINT kBank = 1000;
constexpr int kMostChars = 512;

}  // namespace

std::wstring ProductTexts::Bank(UINT id) const
{
    wchar_t text[kMostChars];
    int length = LoadStringW(module_, kBank + id, text, kMostChars);
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

ProductTexts::~ProductTexts()
{
    if (module_)
        FreeLibrary(module_);
}

std::wstring ProductTexts::InstalledName(const std::wstring& diskName) const
{
    for (int row = 0; row < kFileCount; ++row)
        if (lstrcmpiW(Bank(kFileTable[row].compressedNameId).c_str(), diskName.c_str()) == 0)
            return Bank(kFileTable[row].installedNameId);
    return diskName;
}

bool ProductTexts::Open(const std::wstring& setupProgram, std::wstring* error)
{
    module_ = LoadLibraryExW(setupProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_) {
        *error = L"cannot read the string bank of " + setupProgram;
        return false;
    }
    group_ = Bank(IDS_GROUP_NAME);
    maintenanceOption_ = Bank(IDS_OPT_MAINTENANCE);
    std::vector<const FileEntry*> rows;
    for (int row = 0; row < kFileCount; ++row)
        if ((kFileTable[row].flags & kFileHasItem) && (kFileTable[row].installTypes & kInstallBackupServer))
            rows.push_back(&kFileTable[row]);
    std::sort(rows.begin(), rows.end(),
              [](const FileEntry* a, const FileEntry* b) { return a->itemOrder < b->itemOrder; });
    for (const FileEntry* row : rows)
        items_.push_back({Bank(row->itemTitleId), Bank(row->installedNameId), row->itemArgsId == IDS_OPT_MAINTENANCE});
    for (int row = 0; row < kServiceCount; ++row) {
        const ServiceEntry& service = kServiceTable[row];
        const bool browser = service.nameId == IDS_SERVICE_BROWSER;
        services_.push_back(
            {Bank(service.nameId), Bank(service.displayNameId), Bank(service.executableId), browser, browser});
    }
    for (const std::wstring& text : {group_, maintenanceOption_}) {
        if (text.empty()) {
            *error = L"the string bank of " + setupProgram + L" lacks the group's names";
            return false;
        }
    }
    return true;
}

// Built by setup's own formatting of the commands; the bench's paths hold
// no double quote, the one character a command cannot carry.
std::vector<std::wstring> ProductTexts::InstallCommands(const std::wstring& destination,
                                                        const std::wstring& source) const
{
    std::vector<std::wstring> commands(1);
    FormatDeleteItem(group_, kPersonalGroup, kOldItemTitle, &commands.back());
    std::wstring quotedSource;
    FormatField(source, &quotedSource);
    for (const Item& item : items_) {
        const std::wstring args = item.maintenance ? maintenanceOption_ + quotedSource + L"  /L:1" : std::wstring();
        commands.emplace_back();
        FormatReplaceItem(group_, kPersonalGroup, item.title, &commands.back());
        commands.emplace_back();
        FormatAddItem(group_, kPersonalGroup, destination + item.program, destination, args, item.title, kItemIcon,
                      kItemNotMinimized, &commands.back());
    }
    return commands;
}

std::vector<std::wstring> ProductTexts::UninstallCommands() const
{
    std::vector<std::wstring> commands(2);
    FormatDeleteGroup(group_, kPersonalGroup, &commands[0]);
    FormatDeleteGroup(group_, kCommonGroup, &commands[1]);
    return commands;
}
