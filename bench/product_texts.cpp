#include "product_texts.h"

#include <algorithm>

#include "files/file_table.h"
#include "res/resource_ids.h"

namespace {

// The English bank.
constexpr UINT kBank = 1000;
constexpr int kMostChars = 512;
constexpr int kPersonalGroup = 0;
constexpr int kCommonGroup = 1;
constexpr int kShowNormal = 5;
// The title of an item of the product's earliest versions, which every
// install removes first.
constexpr wchar_t kOldItemTitle[] = L"Tapewright Monitor";

struct Row {
    UINT diskNameId;
    UINT installedNameId;
    UINT itemTitleId;
    int itemOrder;
    UINT flags;
    UINT itemArgsId;
    UINT installTypes;
};

const Row kRows[] = {
#define FILE_ROW(disk, installed, destination, title, order, flags, args, types) \
    {disk, installed, title, order, flags, args, types},
#include "files/file_table.inc"
#undef FILE_ROW
};

// A field, quoted when it holds a character that would end it.
std::wstring Field(const std::wstring& text)
{
    return text.find_first_of(L" ,()[]") == std::wstring::npos ? text : L"\"" + text + L"\"";
}

std::wstring GroupPrefix(const std::wstring& group, int common)
{
    const std::wstring flag = std::to_wstring(common);
    return L"[CreateGroup(" + Field(group) + L"," + flag + L")][ShowGroup(" + Field(group) + L"," +
           std::to_wstring(kShowNormal) + L"," + flag + L")]";
}

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
    for (const Row& row : kRows)
        if (lstrcmpiW(Bank(row.diskNameId).c_str(), diskName.c_str()) == 0)
            return Bank(row.installedNameId);
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
    std::vector<const Row*> rows;
    for (const Row& row : kRows)
        if ((row.flags & kFileHasItem) && (row.installTypes & kInstallBackupServer))
            rows.push_back(&row);
    std::sort(rows.begin(), rows.end(), [](const Row* a, const Row* b) { return a->itemOrder < b->itemOrder; });
    for (const Row* row : rows)
        items_.push_back({Bank(row->itemTitleId), Bank(row->installedNameId), row->itemArgsId == IDS_OPT_MAINTENANCE});
    const struct {
        UINT name, display, program;
    } services[] = {
        {IDS_SERVICE_NAMING, IDS_SERVICE_NAMING_DISPLAY, IDS_FILENAME_TWNSER},
        {IDS_SERVICE_SERVER, IDS_SERVICE_SERVER_DISPLAY, IDS_FILENAME_TWSERVER},
        {IDS_SERVICE_BROWSER, IDS_SERVICE_BROWSER_DISPLAY, IDS_FILENAME_TWNETNS},
    };
    for (const auto& service : services) {
        const bool browser = service.name == IDS_SERVICE_BROWSER;
        services_.push_back({Bank(service.name), Bank(service.display), Bank(service.program), browser, browser});
    }
    for (const std::wstring& text : {group_, maintenanceOption_}) {
        if (text.empty()) {
            *error = L"the string bank of " + setupProgram + L" lacks the group's names";
            return false;
        }
    }
    return true;
}

std::vector<std::wstring> ProductTexts::InstallCommands(const std::wstring& destination,
                                                        const std::wstring& source) const
{
    const std::wstring prefix = GroupPrefix(group_, kPersonalGroup);
    std::vector<std::wstring> commands = {prefix + L"[DeleteItem(" + Field(kOldItemTitle) + L")]"};
    for (const Item& item : items_) {
        const std::wstring program = destination + item.program;
        std::wstring line = Field(program);
        if (item.maintenance)
            line += L" " + maintenanceOption_ + Field(source) + L"  /L:1";
        commands.push_back(prefix + L"[ReplaceItem(" + Field(item.title) + L")]");
        commands.push_back(prefix + L"[AddItem(" + line + L"," + Field(item.title) + L"," + Field(program) +
                           L",0,,," + Field(destination) + L",,0)]");
    }
    return commands;
}

std::vector<std::wstring> ProductTexts::UninstallCommands() const
{
    return {L"[DeleteGroup(" + Field(group_) + L"," + std::to_wstring(kPersonalGroup) + L")]",
            L"[DeleteGroup(" + Field(group_) + L"," + std::to_wstring(kCommonGroup) + L")]"};
}
