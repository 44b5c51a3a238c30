#pragma once
// The product's default settings, a row a value, in the order they are
// written. A value that is there already is never replaced: it was set by an
// earlier install or by the user.
#include <windows.h>

struct RegistryDefault {
    const wchar_t* key;   // a key of registry/product_keys.h; null ends a table
    const wchar_t* name;
    DWORD type;           // REG_DWORD, REG_SZ, REG_MULTI_SZ or REG_BINARY
    DWORD number;         // REG_DWORD: the value
    const wchar_t* text;  // REG_SZ: the text, written with its terminator
    const BYTE* bytes;    // REG_MULTI_SZ and REG_BINARY: `size` bytes
    DWORD size;
};

// Walked one after the other; each walk opens its keys itself and stops at
// the first key or value of its table that cannot be written.
extern const RegistryDefault kFirstDefaults[];
extern const RegistryDefault kSecondDefaults[];
