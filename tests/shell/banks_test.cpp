// The six language banks: complete, consistent with each other, and
// translated where a user reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "res/resource_ids.h"

namespace {

// A string of the program's banks, linked into this test program as into
// setup.exe.
std::wstring Load(UINT id)
{
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// Relative ID -> text, for the IDs that hold a string in bank `base`.
std::map<int, std::wstring> Bank(UINT base)
{
    std::map<int, std::wstring> bank;
    for (int id = 0; id < 1000; ++id) {
        std::wstring text = Load(base + id);
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
    std::map<int, std::wstring> english = Bank(1000);
    std::set<int> englishIds;
    for (const auto& entry : english)
        englishIds.insert(entry.first);
    for (UINT base = 2000; base <= 6000; base += 1000) {
        std::map<int, std::wstring> bank = Bank(base);
        std::set<int> ids;
        for (const auto& entry : bank)
            ids.insert(entry.first);
        EXPECT_EQ(ids, englishIds) << "bank " << base;
        for (const auto& entry : english)
            EXPECT_EQ(Conversions(bank[entry.first]), Conversions(entry.second))
                << "bank " << base << " ID " << entry.first;
    }
}

TEST(Banks, SpanishFrenchAndGermanAreTranslatedDutchAndItalianAreEnglish)
{
    std::map<int, std::wstring> english = Bank(1000);
    // Texts a user reads; names, options and product names stay as they are.
    for (UINT base : {2000u, 3000u, 4000u}) {
        for (int id : {IDS_FRAME_CAPTION, IDS_WELCOME, IDS_CANCEL, IDS_ACTION_COMPLETE, IDS_BILLBOARD_FIRST,
                       IDS_CANCEL_INSTALL, IDS_SOURCE_OPEN_TEXT, IDS_NOT_FIXED_DRIVE, IDS_INSERT_DISK,
                       IDS_PRIOR_QUESTION, IDS_TYPE_CAPTION, IDS_DISK_MISSING})
            EXPECT_NE(Load(base + id), english[id]) << "bank " << base << " ID " << id;
    }
    const std::set<int> localizedNames = {
        IDS_DISKNAME_TWWINNT_HLP, IDS_DISKNAME_README,       IDS_DISKNAME_TWRESNT, IDS_DISKNAME_JOBSCOPE_EXE,
        IDS_DISKNAME_TWEVENTS,    IDS_DISKNAME_JOBSCOPE_HLP, IDS_FILENAME_README,  IDS_FILENAME_SETUP};
    for (UINT base : {5000u, 6000u}) {
        for (const auto& entry : english) {
            if (!localizedNames.count(entry.first)) {
                EXPECT_EQ(Load(base + entry.first), entry.second) << "bank " << base << " ID " << entry.first;
            }
        }
    }
}

TEST(Banks, QuotesAndLineBreaksSurviveTheResourceCompiler)
{
    EXPECT_EQ(Load(1000 + IDS_SOURCE_OPEN_TEXT),
              L"The source file:\n\"%s\"\ncould not be opened.  The file may have been deleted from the source disk.");
}

}  // namespace
