// Pieces of the command lines the bench starts programs with.
#pragma once

#include <string>

// `argument` between double quotes, as one argument; a trailing backslash is
// doubled, since it would otherwise escape the closing quote.
std::wstring Quoted(const std::wstring& argument);

// `folder` without its trailing backslash, as /DEST: takes it.
std::wstring WithoutTrailingSlash(std::wstring folder);
