#include "support/maintenance_support.h"

#include "support/install_support.h"

namespace support {

std::vector<std::wstring> PendingDeletions()
{
    RegistryValue value = ReadRegistryValue(L"System\\CurrentControlSet\\Control\\Session Manager",
                                            L"PendingFileRenameOperations");
    const wchar_t* text = reinterpret_cast<const wchar_t*>(value.bytes.data());
    std::vector<std::wstring> strings(1);
    for (size_t k = 0; k < value.bytes.size() / sizeof(wchar_t); ++k)
        text[k] ? strings.back().push_back(text[k]) : (void)strings.emplace_back();
    // Pairs of source and target: an empty target is a deletion.
    std::vector<std::wstring> deletions;
    for (size_t k = 0; k + 1 < strings.size(); k += 2) {
        if (!strings[k].empty() && strings[k + 1].empty())
            deletions.push_back(strings[k].rfind(L"\\??\\", 0) == 0 ? strings[k].substr(4) : strings[k]);
    }
    return deletions;
}

}  // namespace support
