#include <vector>

#include "res/resource_ids.h"
#include "services/platform_calls.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

int QueryAgentBrowserEnabled()
{
    OpenedService service(IDS_SERVICE_BROWSER);
    if (!service)
        return 0;
    DWORD needed = 0;
    Platform().QueryServiceConfigW(service.get(), nullptr, 0, &needed);
    if (needed < sizeof(QUERY_SERVICE_CONFIGW))
        return 0;
    std::vector<BYTE> buffer(needed);
    auto config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!Platform().QueryServiceConfigW(service.get(), config, needed, &needed))
        return 0;
    return config->dwStartType != SERVICE_DISABLED ? 1 : 0;
}
