// The floor of the install's and the uninstall's service steps, in this
// process: the Service Control Manager calls that the steps cannot do
// without, on the same services (names, programs, account kind, start
// types and dependencies as setup registers them), and nothing else.
#pragma once

#include <string>
#include <vector>

#include "product_texts.h"

struct ServiceAccountSpec {
    std::wstring name;  // DOMAIN\user
    std::wstring password;
};

// A fresh install's check: the manager opened and each service looked for
// (none is there). The seconds it took; < 0 when one is there.
double CheckServices(const std::vector<FloorService>& services);

// Creates the services for the programs in `destination` (ending in a
// backslash) and starts those that are not disabled; StartServiceW returns
// once the service runs. The seconds it took; < 0 on a failure.
double CreateAndStartServices(const std::vector<FloorService>& services, const std::wstring& destination,
                              const ServiceAccountSpec& account);

// Stops each running service, waits until it reports stopped, deletes it,
// and waits until the service programs' processes have ended, when their
// files can go. The seconds it took; < 0 on a failure.
double StopAndDeleteServices(const std::vector<FloorService>& services);
