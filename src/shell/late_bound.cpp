#include "shell/late_bound.h"

FARPROC LateBoundFunction(const wchar_t* library, const char* name)
{
    // Kept loaded for the rest of the run, as an import would be.
    HMODULE module = GetModuleHandleW(library);
    if (!module)
        module = LoadLibraryW(library);
    return module ? GetProcAddress(module, name) : nullptr;
}
