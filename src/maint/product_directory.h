#pragma once
// Which directory the uninstall may empty: the one setup's installed copy
// runs from, and only when that is the product's installed directory.
#include "shell/setup_state.h"

// Whether a directory is the product's installed directory, and by what.
enum class ProductDirectory {
    NotProduct,
    // The product's configuration names it as the data path's parent.
    Configured,
    // There is no configuration (a JobScope Only install writes none), and
    // it holds the product's program and setup. So may a download folder:
    // its DATA and CATALOGS need not be the product's.
    HoldsProgram,
};

// Which `directory` (ending in a backslash) is. A drive root, the Windows
// directory and the system directory never are the product's.
ProductDirectory IdentifyProductDirectory(const wchar_t* directory);
