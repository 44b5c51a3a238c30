#pragma once
// A registry value set for a test and put back as it was, or removed if it
// was absent, when the owner goes.
#include <windows.h>

#include <string>

#include "support/install_support.h"

namespace support {

class RegistryOverride {
public:
    RegistryOverride(HKEY root, std::wstring key, const wchar_t* name);
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;

    // Writes `text` and its terminator as a value of `type`; a failure fails
    // the calling test.
    bool Set(const std::wstring& text, DWORD type = REG_SZ);
    void Remove();

private:
    HKEY root_;
    std::wstring key_;
    const wchar_t* name_;
    RegistryValue saved_;
};

// The computer's product type, which says whether it is a domain controller
// ("LanManNt").
class ProductTypeOverride : public RegistryOverride {
public:
    ProductTypeOverride();
};

// The regional language that the system reports ("intl" "sLanguage").
class RegionalLanguage : public RegistryOverride {
public:
    explicit RegionalLanguage(const wchar_t* code);
};

}  // namespace support
