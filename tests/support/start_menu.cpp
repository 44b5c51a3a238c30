#include "support/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "support/install_support.h"

namespace {

constexpr wchar_t kLinkExtension[] = L".lnk";

bool LoadLink(const std::wstring& path, IShellLinkW** link)
{
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link))))
        return false;
    const bool loaded = SUCCEEDED((*link)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                        SUCCEEDED(file->Load(path.c_str(), STGM_READ));
    if (file)
        file->Release();
    return loaded;
}

}  // namespace

std::wstring StartMenuGroupFolder(const std::wstring& group)
{
    wchar_t programs[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)))
        return std::wstring();
    return std::wstring(programs) + L"\\" + group + L"\\";
}

std::set<std::wstring> StartMenuItems(const std::wstring& group)
{
    const size_t extension = wcslen(kLinkExtension);
    std::set<std::wstring> titles;
    for (const std::wstring& name : FilesIn(StartMenuGroupFolder(group))) {
        if (name.size() > extension && lstrcmpiW(name.c_str() + name.size() - extension, kLinkExtension) == 0)
            titles.insert(name.substr(0, name.size() - extension));
    }
    return titles;
}

ShellLinkData ReadShellLink(const std::wstring& path)
{
    ShellLinkData data;
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkW* link = nullptr;
    if (LoadLink(path, &link)) {
        wchar_t text[MAX_PATH * 2] = {};
        const int chars = sizeof text / sizeof text[0];
        data.read = SUCCEEDED(link->GetPath(text, chars, nullptr, 0));
        data.target = text;
        data.read = data.read && SUCCEEDED(link->GetArguments(text, chars));
        data.arguments = text;
        data.read = data.read && SUCCEEDED(link->GetWorkingDirectory(text, chars));
        data.workingDirectory = text;
        data.read = data.read && SUCCEEDED(link->GetIconLocation(text, chars, &data.iconIndex));
        data.iconPath = text;
    }
    if (link)
        link->Release();
    if (com)
        CoUninitialize();
    return data;
}
