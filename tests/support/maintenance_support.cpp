#include "support/maintenance_support.h"

#include <gtest/gtest.h>

#include "support/setup_process.h"

const std::wstring kProductDir = L"C:\\TAPWRITE\\NT\\";

namespace {

const wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingValue[] = L"PendingFileRenameOperations";

}  // namespace

void InstallBackupServer()
{
    SetupProcess install(L"/SMS: /TS: /DEST:C:\\TAPWRITE\\NT", From(FixturePath(L"share-en")));
    ASSERT_EQ(install.WaitForExit(120000), 0u);
}

std::vector<std::wstring> PendingDeletions()
{
    RegistryValue value = ReadRegistryValue(kSessionManager, kPendingValue);
    std::vector<std::wstring> strings;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(value.bytes.data());
    size_t chars = value.bytes.size() / sizeof(wchar_t);
    for (size_t start = 0; start < chars;) {
        size_t end = start;
        while (end < chars && text[end])
            ++end;
        strings.emplace_back(text + start, end - start);
        start = end + 1;
    }
    // Pairs of source and target; an empty target is a deletion. The list
    // ends with an empty string of its own.
    std::vector<std::wstring> deletions;
    for (size_t k = 0; k + 1 < strings.size(); k += 2) {
        if (strings[k].empty() || !strings[k + 1].empty())
            continue;
        std::wstring path = strings[k];
        if (path.rfind(L"\\??\\", 0) == 0)
            path.erase(0, 4);
        deletions.push_back(path);
    }
    return deletions;
}

PendingOperationsReset::PendingOperationsReset() : RegistryOverride(HKEY_LOCAL_MACHINE, kSessionManager, kPendingValue)
{
    Remove();
}

std::wstring DriversDirectory()
{
    return SystemDirectory() + L"DRIVERS\\";
}
