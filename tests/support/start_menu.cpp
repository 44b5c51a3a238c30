#include "support/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace support {

std::wstring StartMenuGroupFolder(const std::wstring& group)
{
    wchar_t programs[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)))
        return std::wstring();
    return std::wstring(programs) + L"\\" + group + L"\\";
}

ShellLinkData ReadShellLink(const std::wstring& path)
{
    ShellLinkData data;
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t text[2][MAX_PATH * 2] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(text[0], ARRAYSIZE(text[0]), nullptr, 0)) &&
        SUCCEEDED(link->GetWorkingDirectory(text[1], ARRAYSIZE(text[1]))))
        data = {text[0], text[1]};
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (com)
        CoUninitialize();
    return data;
}

}  // namespace support
