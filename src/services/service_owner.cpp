// Whether a service registered under one of the product's names is the
// product's: its program must be one of the product's service programs. A
// site may have registered a program of its own under such a name, and
// setup neither stops, deletes nor replaces that one.
#include <wchar.h>

#include <iterator>

#include "res/resource_ids.h"
#include "services/service_control.h"
#include "services/service_handle.h"
#include "services/service_table.h"
#include "shell/message_box.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The service of `entry`, when it runs a program that is not the product's,
// is reported with its program: false then. One that is absent, or that
// setup cannot open or read, is left to the steps that follow: they cannot
// change it either.
bool RefuseForeignService(SC_HANDLE manager, const ServiceEntry& entry)
{
    OpenedService service(manager, entry.nameId);
    if (!service)
        return true;
    ServiceConfig config(service.get());
    if (!config || IsProductServiceProgram(config->lpBinaryPathName))
        return true;
    wchar_t name[kServiceNameChars + 1];
    LoadBankString(LangBase + entry.nameId, name, std::size(name));
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_FOREIGN_SERVICE_TEXT, name,
                     config->lpBinaryPathName);
    AskUser(LangBase + IDS_FOREIGN_SERVICE_TITLE, text, MB_OK, MB_ICONSTOP, IDOK);
    return false;
}

}  // namespace

bool IsProductServiceProgram(const wchar_t* binaryPath)
{
    if (!binaryPath)
        return false;
    const wchar_t* begin = binaryPath + wcsspn(binaryPath, L" \t");
    const wchar_t* end;
    if (*begin == L'"') {
        end = wcschr(++begin, L'"');
        if (!end)
            return false;
    } else {
        // Arguments follow the first space. The product's directory holds
        // none, so an unquoted path with a space in it is never the
        // product's program, whichever part of it the system would run.
        end = begin + wcscspn(begin, L" \t");
    }
    const wchar_t* name = end;
    while (name > begin && name[-1] != L'\\' && name[-1] != L'/' && name[-1] != L':')
        --name;
    const size_t length = static_cast<size_t>(end - name);
    for (int row = 0; row < kServiceCount; ++row) {
        wchar_t program[kServiceNameChars + 1];
        LoadBankString(LangBase + kServiceTable[row].executableId, program, std::size(program));
        if (length && wcslen(program) == length && _wcsnicmp(name, program, length) == 0)
            return true;
    }
    return false;
}

bool CheckServiceOwners()
{
    ServiceWalk walk(SC_MANAGER_ALL_ACCESS);
    for (int row = 0; row < kServiceCount; ++row)
        if (InstallTypeHasService(kServiceTable[row]) && !RefuseForeignService(walk.Next(), kServiceTable[row]))
            return false;
    return true;
}
