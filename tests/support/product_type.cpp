#include "support/product_type.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kProductOptions[] = L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
const wchar_t kProductType[] = L"ProductType";

}  // namespace

ProductTypeOverride::ProductTypeOverride()
{
    DWORD bytes = sizeof saved_;
    had_ = RegGetValueW(HKEY_LOCAL_MACHINE, kProductOptions, kProductType, RRF_RT_REG_SZ, nullptr, saved_, &bytes)
           == ERROR_SUCCESS;
}

ProductTypeOverride::~ProductTypeOverride()
{
    if (had_)
        Set(saved_);
    else
        Remove();
}

void ProductTypeOverride::Set(const wchar_t* type)
{
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kProductOptions, kProductType, REG_SZ, type,
                              (lstrlenW(type) + 1) * sizeof(wchar_t)),
              ERROR_SUCCESS);
}

void ProductTypeOverride::Remove()
{
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kProductOptions, kProductType);
}
