#include "res/resource_ids.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "shell/platform_calls.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

bool QueryAgentBrowserEnabled(ServiceWalk& walk)
{
    OpenedService service(walk.Next(), IDS_SERVICE_BROWSER);
    if (!service)
        return false;
    ServiceConfig config(service.get());
    return config && config->dwStartType != SERVICE_DISABLED;
}
