// Program Manager's command strings: fields that would end a command.
#include <gtest/gtest.h>

#include <string>

#include "progman/progman_commands.h"

namespace {

TEST(ProgmanCommands, FieldsThatWouldEndACommandAreQuotedAndDoubleQuotesRefused)
{
    const struct {
        const wchar_t* field;
        const wchar_t* formatted;  // nullptr: refused
    } cases[] = {
        {L"C:\\TAPWRITE\\NT\\", L"C:\\TAPWRITE\\NT\\"},
        {L"C:\\Program Files\\TW\\", L"\"C:\\Program Files\\TW\\\""},
        {L"C:\\A,B\\", L"\"C:\\A,B\\\""},
        {L"C:\\A)][DeleteGroup(Main)]", L"\"C:\\A)][DeleteGroup(Main)]\""},
        {L"C:\\A\"B", nullptr},
    };
    for (const auto& c : cases) {
        std::wstring out = L"unchanged";
        EXPECT_EQ(FormatField(c.field, &out), c.formatted != nullptr) << c.field;
        EXPECT_EQ(out, c.formatted ? c.formatted : L"unchanged");
    }
}

TEST(ProgmanCommands, AQuotedProgramKeepsItsArgumentsAndAnUnquotableItemIsNotBuilt)
{
    std::wstring command;
    ASSERT_TRUE(FormatAddItem(L"TW", 1, L"C:\\Program Files\\TW\\setup.exe", L"C:\\Program Files\\TW\\",
                              L"/U:A:\\  /L:2", L"Setup", 0, 0, &command));
    EXPECT_EQ(command, L"[CreateGroup(TW,1)][ShowGroup(TW,5,1)][AddItem(\"C:\\Program Files\\TW\\setup.exe\" "
                       L"/U:A:\\  /L:2,Setup,\"C:\\Program Files\\TW\\setup.exe\",0,,,\"C:\\Program Files\\TW\\\",,0)]");

    command = L"unchanged";
    EXPECT_FALSE(FormatAddItem(L"TW", 0, L"C:\\A\\x.exe", L"C:\\A\\", L"/U:A,B\\", L"X", 0, 0, &command));
    EXPECT_FALSE(FormatAddItem(L"TW", 0, L"C:\\A\\x.exe", L"C:\\A\\", L"/U:\"A\\  /L:1", L"X", 0, 0, &command));
    EXPECT_FALSE(FormatDeleteItem(L"Bad\"Group", 0, L"X", &command));
    EXPECT_EQ(command, L"unchanged");
}

}  // namespace
