// The command-line model: options found as case-sensitive substrings, their
// arguments taken up to a space or between quotes, bounded by a byte size;
// and what start-up makes of "/L:" and "/U:".
#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "shell/options.h"
#include "shell/setup_main.h"
#include "shell/setup_state.h"
#include "support/in_process.h"

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSetupState(); }
};

TEST_F(OptionsTest, OptionIsACaseSensitiveSubstringByTextOrBankId)
{
    const UINT destination = 1000 + IDS_OPT_DESTINATION;
    struct Case {
        const wchar_t* line;
        TextRef option;
        bool found;
    } cases[] = {
        {L"setup.exe /SMS: /TS:/DEST:C:\\X", L"/TS:", true},  // no word boundary needed
        {L"setup.exe /SMS: /TS:/DEST:C:\\X", L"/DEST:", true},
        {L"setup.exe /SMS: /TS:/DEST:C:\\X", L"/sms:", false},
        {L"setup.exe /sms: /ts:", L"/SMS:", false},
        {L"", L"/SMS:", false},
        {nullptr, L"/SMS:", false},
        {L"a.exe /DEST:", destination, true},
        {L"a.exe /DEST:", destination + 3000, true},  // the German bank's
        {L"a.exe /DE", destination, false},
        {L"a.exe /U:", 1999u, false},  // an ID without a string is no option, not one found everywhere
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasOption(c.line, c.option), c.found) << (c.line ? c.line : L"(null)");
}

TEST_F(OptionsTest, ArgumentEndsAtSpaceOrRunsBetweenQuotesAndMustFit)
{
    const std::wstring fits = L"s.exe /DEST:" + std::wstring(259, L'a');
    struct Case {
        const wchar_t* line;
        const wchar_t* option;
        size_t bufferBytes;
        const wchar_t* argument;  // null: none returned, the buffer untouched
    } cases[] = {
        {L"s.exe /DEST:C:\\TAPW /SMS:", L"/DEST:", 520, L"C:\\TAPW"},
        {L"s.exe /DEST:C:\\PROGRAM FILES\\X", L"/DEST:", 520, L"C:\\PROGRAM"},
        {L"s.exe /DEST:\"C:\\PROGRAM FILES\\X\" /SMS:", L"/DEST:", 520, L"C:\\PROGRAM FILES\\X"},
        {L"s.exe /DEST:\"C:\\OPEN QUOTE", L"/DEST:", 520, L"C:\\OPEN QUOTE"},
        {L"s.exe /U: /SMS:", L"/U:", 520, L""},
        {L"s.exe /SMS:", L"/DEST:", 520, nullptr},
        {fits.c_str(), L"/DEST:", 520, fits.c_str() + 12},
        {fits.c_str(), L"/DEST:", 518, nullptr},
        {L"s.exe /L:1234567", L"/L:", 16, L"1234567"},  // seven characters and the terminator
        {L"s.exe /L:12345678", L"/L:", 16, nullptr},
    };
    for (const Case& c : cases) {
        wchar_t buffer[262];
        wmemset(buffer, L'#', ARRAYSIZE(buffer));
        EXPECT_EQ(GetOptionArgument(buffer, c.bufferBytes, c.line, c.option), c.argument != nullptr) << c.line;
        if (c.argument) {
            EXPECT_STREQ(buffer, c.argument);
        } else {
            EXPECT_EQ(std::wstring(buffer, ARRAYSIZE(buffer)), std::wstring(ARRAYSIZE(buffer), L'#')) << c.line;
        }
    }
}

TEST_F(OptionsTest, StartUpReadsTheLanguageBankAndTheSource)
{
    const std::wstring tooLong = L"setup.exe /U:" + std::wstring(260, L'x');
    struct Case {
        const wchar_t* line;
        const wchar_t* module;
        UINT bank;
        bool languageGiven;
        const wchar_t* source;
        bool maintenance;
    } cases[] = {
        {L"setup.exe", L"D:\\SETUP.EXE", 1000, false, L"D:\\", false},
        {L"setup.exe /L:2", L"C:\\TAPWRITE\\NT\\setup.exe", 2000, true, L"C:\\TAPWRITE\\NT\\", false},
        {L"setup.exe /L:6 /SMS:", L"D:SETUP.EXE", 6000, true, L"D:\\", false},
        {L"setup.exe /L:\"3\"", L"C:\\S.EXE", 3000, true, L"C:\\", false},
        // Any other value means English.
        {L"setup.exe /L:0", L"C:\\S.EXE", 1000, true, L"C:\\", false},
        {L"setup.exe /L:7", L"C:\\S.EXE", 1000, true, L"C:\\", false},
        {L"setup.exe /L:-4", L"C:\\S.EXE", 1000, true, L"C:\\", false},
        {L"setup.exe /L:DE", L"C:\\S.EXE", 1000, true, L"C:\\", false},
        {L"setup.exe /L:", L"C:\\S.EXE", 1000, true, L"C:\\", false},
        {L"setup.exe /L:123456789", L"C:\\S.EXE", 1000, true, L"C:\\", false},
        {L"setup.exe /l:2", L"C:\\S.EXE", 1000, false, L"C:\\", false},
        // Maintenance: the files come from the option's argument, A:\ by default.
        {L"setup.exe /U:", L"C:\\S.EXE", 1000, false, L"A:\\", true},
        {L"setup.exe /U:B:\\ /L:4", L"C:\\S.EXE", 4000, true, L"B:\\", true},
        {L"setup.exe /U:\"C:\\MY DISKS\\\"", L"C:\\S.EXE", 1000, false, L"C:\\MY DISKS\\", true},
        {L"setup.exe /u:B:\\", L"C:\\S.EXE", 1000, false, L"C:\\", false},
        {tooLong.c_str(), L"C:\\S.EXE", 1000, false, L"A:\\", true},
    };
    for (const Case& c : cases) {
        ReadCommandLine(c.line, c.module);
        EXPECT_EQ(LangBase, c.bank) << c.line;
        EXPECT_EQ(LanguageGiven, c.languageGiven) << c.line;
        EXPECT_STREQ(SourcePath, c.source) << c.line;
        EXPECT_EQ(MaintenanceMode, c.maintenance) << c.line;
    }
}

}  // namespace
