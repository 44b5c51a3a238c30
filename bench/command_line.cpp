#include "command_line.h"

std::wstring Quoted(const std::wstring& argument)
{
    std::wstring quoted = L"\"" + argument;
    if (!argument.empty() && argument.back() == L'\\')
        quoted += L'\\';
    return quoted + L"\"";
}

std::wstring WithoutTrailingSlash(std::wstring folder)
{
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}
