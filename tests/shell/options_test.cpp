// The command-line model: options found as case-sensitive substrings, their
// arguments taken up to a space or between quotes, bounded by a byte size;
// and what start-up makes of "/L:" and "/U:".
#include <gtest/gtest.h>

#include <string>

#include "shell/options.h"
#include "shell/setup_main.h"
#include "shell/setup_state.h"
#include "support/in_process.h"

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSetupState(); }
};

TEST_F(OptionsTest, OptionIsAPlainCaseSensitiveSubstring)
{
    const wchar_t* line = L"setup.exe /SMS: /TS:/DEST:C:\\X";
    EXPECT_TRUE(HasOption(line, L"/SMS:"));
    EXPECT_TRUE(HasOption(line, L"/TS:"));   // no word boundary needed
    EXPECT_TRUE(HasOption(line, L"/DEST:"));
    EXPECT_FALSE(HasOption(line, L"/sms:"));
    EXPECT_FALSE(HasOption(L"setup.exe /sms: /ts:", L"/SMS:"));
    EXPECT_FALSE(HasOption(L"", L"/SMS:"));
    EXPECT_FALSE(HasOption(nullptr, L"/SMS:"));
}

TEST_F(OptionsTest, OptionGivenByIdIsLoadedFromTheCurrentBank)
{
    EXPECT_TRUE(HasOption(L"a.exe /UNINSTALL:", 1306u));
    EXPECT_TRUE(HasOption(L"a.exe /UNINSTALL:", 4306u));
    EXPECT_FALSE(HasOption(L"a.exe /U:", 1306u));
    // An ID that holds no string is no option, not one found everywhere.
    EXPECT_FALSE(HasOption(L"a.exe /U:", 1999u));
}

TEST_F(OptionsTest, ArgumentEndsAtSpaceOrRunsBetweenQuotes)
{
    wchar_t buffer[260];
    ASSERT_TRUE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /DEST:C:\\TAPW /SMS:", L"/DEST:"));
    EXPECT_STREQ(buffer, L"C:\\TAPW");

    ASSERT_TRUE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /DEST:C:\\PROGRAM FILES\\X", L"/DEST:"));
    EXPECT_STREQ(buffer, L"C:\\PROGRAM");

    ASSERT_TRUE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /DEST:\"C:\\PROGRAM FILES\\X\" /SMS:", L"/DEST:"));
    EXPECT_STREQ(buffer, L"C:\\PROGRAM FILES\\X");

    ASSERT_TRUE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /DEST:\"C:\\OPEN QUOTE", L"/DEST:"));
    EXPECT_STREQ(buffer, L"C:\\OPEN QUOTE");

    ASSERT_TRUE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /DEST:C:\\LAST", L"/DEST:"));
    EXPECT_STREQ(buffer, L"C:\\LAST");

    ASSERT_TRUE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /U: /SMS:", L"/U:"));
    EXPECT_STREQ(buffer, L"");

    EXPECT_FALSE(GetOptionArgument(buffer, sizeof buffer, L"s.exe /SMS:", L"/DEST:"));
}

TEST_F(OptionsTest, ArgumentThatDoesNotFitLeavesTheBufferAlone)
{
    wchar_t buffer[260 + 8];
    std::wstring fits = L"s.exe /DEST:" + std::wstring(259, L'a');
    std::wstring tooLong = L"s.exe /DEST:\"" + std::wstring(260, L'b') + L"\"";

    ASSERT_TRUE(GetOptionArgument(buffer, 520, fits.c_str(), L"/DEST:"));
    EXPECT_EQ(std::wstring(buffer), std::wstring(259, L'a'));

    wmemset(buffer, L'#', 268);
    EXPECT_FALSE(GetOptionArgument(buffer, 520, tooLong.c_str(), L"/DEST:"));
    for (wchar_t c : buffer)
        ASSERT_EQ(c, L'#');

    // Seven characters and the terminator fill a 16-byte buffer exactly.
    EXPECT_TRUE(GetOptionArgument(buffer, 16, L"s.exe /L:1234567", L"/L:"));
    EXPECT_FALSE(GetOptionArgument(buffer, 16, L"s.exe /L:12345678", L"/L:"));
}

TEST_F(OptionsTest, LanguageOptionSelectsABankOrFallsBackToEnglish)
{
    struct Case {
        const wchar_t* line;
        UINT bank;
        bool given;
    } cases[] = {
        {L"setup.exe", 1000, false},
        {L"setup.exe /L:2", 2000, true},
        {L"setup.exe /L:6 /SMS:", 6000, true},
        {L"setup.exe /L:\"3\"", 3000, true},
        {L"setup.exe /L:0", 1000, true},
        {L"setup.exe /L:7", 1000, true},
        {L"setup.exe /L:-4", 1000, true},
        {L"setup.exe /L:DE", 1000, true},
        {L"setup.exe /L:", 1000, true},
        {L"setup.exe /L:123456789", 1000, true},
        {L"setup.exe /l:2", 1000, false},
    };
    for (const Case& c : cases) {
        ReadCommandLine(c.line, L"C:\\SETUP.EXE");
        EXPECT_EQ(LangBase, c.bank) << c.line;
        EXPECT_EQ(LanguageGiven, c.given) << c.line;
    }
}

TEST_F(OptionsTest, SourcePathComesFromMaintenanceOptionOrProgramDirectory)
{
    struct Case {
        const wchar_t* line;
        const wchar_t* module;
        const wchar_t* source;
        bool maintenance;
    } cases[] = {
        {L"setup.exe", L"D:\\SETUP.EXE", L"D:\\", false},
        {L"setup.exe", L"C:\\TAPWRITE\\NT\\setup.exe", L"C:\\TAPWRITE\\NT\\", false},
        {L"setup.exe", L"D:SETUP.EXE", L"D:\\", false},
        {L"setup.exe /U:", L"C:\\S.EXE", L"A:\\", true},
        {L"setup.exe /U: /L:1", L"C:\\S.EXE", L"A:\\", true},
        {L"setup.exe /U:B:\\ /L:1", L"C:\\S.EXE", L"B:\\", true},
        {L"setup.exe /U:\"C:\\MY DISKS\\\"", L"C:\\S.EXE", L"C:\\MY DISKS\\", true},
        {L"setup.exe /u:B:\\", L"C:\\S.EXE", L"C:\\", false},
    };
    for (const Case& c : cases) {
        ReadCommandLine(c.line, c.module);
        EXPECT_STREQ(SourcePath, c.source) << c.line;
        EXPECT_EQ(MaintenanceMode, c.maintenance) << c.line;
    }
    std::wstring tooLong = L"setup.exe /U:" + std::wstring(260, L'x');
    ReadCommandLine(tooLong.c_str(), L"C:\\S.EXE");
    EXPECT_STREQ(SourcePath, L"A:\\");
}

}  // namespace
