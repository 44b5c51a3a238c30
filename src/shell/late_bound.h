#pragma once
// Functions of libraries that only some runs need (the shell for the readme
// viewer, network management for the data paths) are resolved at their
// first use, so start-up loads only what the first screen needs.
#include <windows.h>

// The function `name` of `library`, which is loaded by this call if it is not
// loaded yet; null when either is missing, and the caller then fails as the
// call would.
FARPROC LateBoundFunction(const wchar_t* library, const char* name);

// LateBoundFunction typed as `Function` (a function type, e.g. the decltype
// of its declaration).
template <typename Function>
Function* LateBound(const wchar_t* library, const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(LateBoundFunction(library, name)));
}
