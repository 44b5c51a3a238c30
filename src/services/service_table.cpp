#include "services/service_table.h"

#include "files/file_table.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"

namespace {

// The flags the product's services have always been registered with.
constexpr UINT kProductServiceFlags = 6;

}  // namespace

const ServiceEntry kServiceTable[] = {
    {IDS_FILENAME_TWNSER, IDS_SERVICE_NAMING, IDS_SERVICE_NAMING_DISPLAY, kProductServiceFlags},
    {IDS_FILENAME_TWSERVER, IDS_SERVICE_SERVER, IDS_SERVICE_SERVER_DISPLAY, kProductServiceFlags},
    {IDS_FILENAME_TWNETNS, IDS_SERVICE_BROWSER, IDS_SERVICE_BROWSER_DISPLAY, kProductServiceFlags},
};

const int kServiceCount = sizeof kServiceTable / sizeof kServiceTable[0];

bool InstallTypeHasService(const ServiceEntry& entry)
{
    for (int i = 0; i < kFileCount; ++i) {
        const FileEntry& file = kFileTable[i];
        if (file.installedNameId == entry.executableId && (file.installTypes & InstallType))
            return true;
    }
    return false;
}
