#include "support/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "support/install_support.h"

std::wstring StartMenuGroupFolder(const std::wstring& group)
{
    wchar_t programs[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)))
        return std::wstring();
    return std::wstring(programs) + L"\\" + group + L"\\";
}

std::set<std::wstring> StartMenuItems(const std::wstring& group)
{
    const std::wstring extension = L".lnk";
    std::set<std::wstring> titles;
    for (const std::wstring& name : FilesIn(StartMenuGroupFolder(group))) {
        const size_t stem = name.size() - extension.size();
        if (name.size() > extension.size() && lstrcmpiW(name.c_str() + stem, extension.c_str()) == 0)
            titles.insert(name.substr(0, stem));
    }
    return titles;
}

ShellLinkData ReadShellLink(const std::wstring& path)
{
    ShellLinkData data;
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t text[4][MAX_PATH * 2] = {};
        const int chars = ARRAYSIZE(text[0]);
        data.read = SUCCEEDED(link->GetPath(text[0], chars, nullptr, 0)) &&
                    SUCCEEDED(link->GetArguments(text[1], chars)) &&
                    SUCCEEDED(link->GetWorkingDirectory(text[2], chars)) &&
                    SUCCEEDED(link->GetIconLocation(text[3], chars, &data.iconIndex));
        data = {data.read, text[0], text[1], text[2], text[3], data.iconIndex};
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (com)
        CoUninitialize();
    return data;
}
