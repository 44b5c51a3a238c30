#pragma once
// The computer's product type (ProductType under ProductOptions), which
// says whether it is a domain controller ("LanManNt"): set for a test and
// put back as it was, or removed if it was absent, when the owner goes.
#include <windows.h>

class ProductTypeOverride {
public:
    ProductTypeOverride();
    ~ProductTypeOverride();
    ProductTypeOverride(const ProductTypeOverride&) = delete;
    ProductTypeOverride& operator=(const ProductTypeOverride&) = delete;

    // Sets the value; a failure fails the calling test.
    void Set(const wchar_t* type);
    // Removes the value.
    void Remove();

private:
    wchar_t saved_[260];
    bool had_;
};
