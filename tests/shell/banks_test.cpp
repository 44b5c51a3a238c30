// The six language banks hold the same strings, with the same placeholders.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/in_process.h"

namespace {

// Relative ID -> text, for the IDs that hold a string in bank `base`.
std::map<int, std::wstring> Bank(UINT base)
{
    std::map<int, std::wstring> bank;
    for (int id = 0; id < 1000; ++id) {
        std::wstring text = BankString(base + id);
        if (!text.empty())
            bank[id] = text;
    }
    return bank;
}

std::vector<std::wstring> Conversions(const std::wstring& text)
{
    static const std::wregex conversion(L"%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    std::vector<std::wstring> found;
    for (std::wsregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

TEST(Banks, EveryBankHoldsTheEnglishIdsWithTheirPlaceholdersInOrder)
{
    ResetSetupState();
    std::map<int, std::wstring> english = Bank(1000);
    for (UINT base = 2000; base <= 6000; base += 1000) {
        std::map<int, std::wstring> bank = Bank(base);
        EXPECT_EQ(bank.size(), english.size()) << "bank " << base;
        for (const auto& [id, text] : english) {
            EXPECT_EQ(bank.count(id), 1u) << "bank " << base << " ID " << id;
            EXPECT_EQ(Conversions(bank[id]), Conversions(text)) << "bank " << base << " ID " << id;
        }
    }
}

}  // namespace
