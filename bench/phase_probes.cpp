#include "phase_probes.h"

#include <memory>

#include "initiate_watch.h"
#include "payload_io.h"
#include "registry/product_keys.h"

const wchar_t* const kInstallPhaseNames[kInstallPhaseCount] = {
    L"start-up", L"services check", L"copy", L"services", L"group", L"end",
};
const wchar_t* const kUninstallPhaseNames[kUninstallPhaseCount] = {
    L"start-up", L"services", L"files", L"group", L"end",
};

namespace {

const wchar_t kSetupClient[] = L"TWInst_Client";
const wchar_t kSetupPercent[] = L"TWInst_Percent";
const wchar_t kSetupInfo[] = L"TWInst_Info";
const wchar_t kReferenceCopying[] = L"TWBench_Copying";

bool ChildVisible(HWND parent, const wchar_t* className)
{
    HWND child = parent ? FindWindowExW(parent, nullptr, className, nullptr) : nullptr;
    return child && IsWindowVisible(child);
}

// setup's panels are children of its client window. The percent panel
// comes up as the first step after start-up shows it (the services check,
// or what stands in its place without administrator rights); the info
// panel as the copy starts.
PhaseProbe SetupPanelShown(const wchar_t* panelClass)
{
    return [panelClass](const ProbeTarget& target) {
        return ChildVisible(target.frame ? FindWindowExW(target.frame, nullptr, kSetupClient, nullptr) : nullptr,
                           panelClass);
    };
}

// The group step begins with setup offering the DDE initiate to each
// top-level window, the watch's among them.
PhaseProbe GroupStarted(InitiateWatch& initiates)
{
    return [&initiates](const ProbeTarget& target) { return initiates.SeenFrom(target.processId); };
}

bool KeyPresent(const wchar_t* key)
{
    HKEY opened;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

}  // namespace

std::vector<PhaseProbe> InstallProbes(const std::wstring& destination, ULONGLONG copiedBytes,
                                      InitiateWatch& initiates)
{
    return {
        SetupPanelShown(kSetupPercent),
        SetupPanelShown(kSetupInfo),
        // The last file written whole ends the copy; what follows it (the
        // old services removed, the new ones registered) is the next step.
        [destination, copiedBytes](const ProbeTarget&) {
            return copiedBytes > 0 && TreeBytes(destination) >= copiedBytes;
        },
        GroupStarted(initiates),
        // The entry is written as the first thing after the group.
        [](const ProbeTarget&) { return UninstallEntryPresent(); },
    };
}

std::vector<PhaseProbe> UninstallProbes(const std::wstring& destination, ULONGLONG installedBytes,
                                        InitiateWatch& initiates)
{
    return {
        SetupPanelShown(kSetupPercent),
        [destination, installedBytes](const ProbeTarget&) { return TreeBytes(destination) < installedBytes; },
        GroupStarted(initiates),
        // The configuration goes first once the group is done.
        [](const ProbeTarget&) { return !KeyPresent(kProductKey); },
    };
}

std::vector<PhaseProbe> ReferenceProbes()
{
    auto shown = std::make_shared<bool>(false);
    return {
        [](const ProbeTarget& target) { return ChildVisible(target.frame, kReferenceCopying); },
        // Asked from the start, as every later phase is: it ends once the
        // panel it saw has gone.
        [shown](const ProbeTarget& target) {
            if (ChildVisible(target.frame, kReferenceCopying))
                *shown = true;
            return *shown && target.frame && IsWindow(target.frame) && !ChildVisible(target.frame, kReferenceCopying);
        },
    };
}

bool UninstallEntryPresent()
{
    return KeyPresent(kUninstallKey);
}

void RemoveUninstallEntry()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
}
