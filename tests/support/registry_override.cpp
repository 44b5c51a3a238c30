#include "support/registry_override.h"

#include <gtest/gtest.h>

#include <utility>

namespace support {

RegistryOverride::RegistryOverride(HKEY root, std::wstring key, const wchar_t* name)
    : root_(root), key_(std::move(key)), name_(name), saved_(ReadRegistryValue(key_, name, root))
{
}

RegistryOverride::~RegistryOverride()
{
    if (saved_.present)
        RegSetKeyValueW(root_, key_.c_str(), name_, saved_.type, saved_.bytes.data(),
                        static_cast<DWORD>(saved_.bytes.size()));
    else
        Remove();
}

bool RegistryOverride::Set(const std::wstring& text, DWORD type)
{
    LONG status = RegSetKeyValueW(root_, key_.c_str(), name_, type, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(status, ERROR_SUCCESS) << name_;
    return status == ERROR_SUCCESS;
}

void RegistryOverride::Remove()
{
    RegDeleteKeyValueW(root_, key_.c_str(), name_);
}

ProductTypeOverride::ProductTypeOverride()
    : RegistryOverride(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", L"ProductType")
{
}

RegionalLanguage::RegionalLanguage(const wchar_t* code)
    : RegistryOverride(HKEY_CURRENT_USER, L"Control Panel\\International", L"sLanguage")
{
    Set(code);
}

}  // namespace support
