// The names setup.exe works with, read from its English string bank, and
// what it sends and creates with them in an unattended Backup Server
// install: the program group's commands and the services. The floors
// repeat exactly that work.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct FloorService {
    std::wstring name;
    std::wstring displayName;
    std::wstring program;  // installed name, in the product directory
    bool disabled;         // the agent browser: registered disabled, not started
    bool browser;          // depends on the TDI group rather than on services
};

class ProductTexts {
public:
    ProductTexts() = default;
    ProductTexts(const ProductTexts&) = delete;
    ProductTexts& operator=(const ProductTexts&) = delete;
    ~ProductTexts();

    // False, with `error` set, when the bank cannot be read from `setupProgram`.
    bool Open(const std::wstring& setupProgram, std::wstring* error);

    std::wstring GroupName() const { return group_; }
    // Program Manager commands of the install into `destination` (ending in
    // a backslash) from `source`: the old item removed, then each item
    // replaced and added, every command opening with the group.
    std::vector<std::wstring> InstallCommands(const std::wstring& destination, const std::wstring& source) const;
    // Those of the uninstall: the personal and the common group deleted.
    std::vector<std::wstring> UninstallCommands() const;
    const std::vector<FloorService>& Services() const { return services_; }
    // The name a file of the media is installed under; the media's own name
    // when the file table does not list it.
    std::wstring InstalledName(const std::wstring& diskName) const;

private:
    struct Item {
        std::wstring title;
        std::wstring program;
        bool maintenance;  // setup's own item: starts maintenance from the source
    };
    std::wstring Bank(UINT id) const;

    HMODULE module_ = nullptr;
    std::wstring group_;
    std::wstring maintenanceOption_;
    std::vector<Item> items_;  // in their order in the group
    std::vector<FloorService> services_;
};
