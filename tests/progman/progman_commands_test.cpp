// Program Manager's command strings, as built for the product's group.
#include <gtest/gtest.h>

#include <string>

#include "progman/progman_commands.h"

namespace {

const std::wstring kGroup = L"Tapewright 6.0";
const std::wstring kPrefix = L"[CreateGroup(\"Tapewright 6.0\",0)][ShowGroup(\"Tapewright 6.0\",5,0)]";

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
        {L"C:\\A[1]\\", L"\"C:\\A[1]\\\""},
        {L"C:\\A\"B", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        std::wstring out = L"unchanged";
        EXPECT_EQ(FormatField(c.field, &out), c.formatted != nullptr);
        EXPECT_EQ(out, c.formatted ? c.formatted : L"unchanged");
    }
}

TEST(ProgmanCommands, ItemCommandsCarryTheGroupTheCommonFlagAndEveryField)
{
    std::wstring command;
    ASSERT_TRUE(FormatDeleteItem(kGroup, 0, L"Tapewright Monitor", &command));
    EXPECT_EQ(command, kPrefix + L"[DeleteItem(\"Tapewright Monitor\")]");
    ASSERT_TRUE(FormatReplaceItem(L"TW", 1, L"Readme", &command));
    EXPECT_EQ(command, L"[CreateGroup(TW,1)][ShowGroup(TW,5,1)][ReplaceItem(Readme)]");
    ASSERT_TRUE(FormatDeleteGroup(kGroup, &command));
    EXPECT_EQ(command, L"[DeleteGroup(\"Tapewright 6.0\")]");

    ASSERT_TRUE(FormatAddItem(kGroup, 0, L"C:\\TAPWRITE\\NT\\readme.txt", L"C:\\TAPWRITE\\NT\\", L"", L"Readme", 0, 0,
                              &command));
    EXPECT_EQ(command, kPrefix +
                           L"[AddItem(C:\\TAPWRITE\\NT\\readme.txt,Readme,C:\\TAPWRITE\\NT\\readme.txt,0,,,"
                           L"C:\\TAPWRITE\\NT\\,,0)]");

    ASSERT_TRUE(FormatAddItem(kGroup, 1, L"C:\\Program Files\\TW\\setup.exe", L"C:\\Program Files\\TW\\",
                              L"/U:\"C:\\My Disks\\\"  /L:2", L"Tapewright Setup", 0, 0, &command));
    EXPECT_EQ(command,
              L"[CreateGroup(\"Tapewright 6.0\",1)][ShowGroup(\"Tapewright 6.0\",5,1)]"
              L"[AddItem(\"C:\\Program Files\\TW\\setup.exe\" /U:\"C:\\My Disks\\\"  /L:2,\"Tapewright Setup\","
              L"\"C:\\Program Files\\TW\\setup.exe\",0,,,\"C:\\Program Files\\TW\\\",,0)]");
}

TEST(ProgmanCommands, AnItemThatCannotBeExpressedIsNotBuilt)
{
    std::wstring command = L"unchanged";
    EXPECT_FALSE(FormatAddItem(kGroup, 0, L"C:\\A\"B\\x.exe", L"C:\\A\"B\\", L"", L"X", 0, 0, &command));
    EXPECT_FALSE(FormatAddItem(kGroup, 0, L"C:\\A\\x.exe", L"C:\\A\\", L"/U:A,B\\", L"X", 0, 0, &command));
    EXPECT_FALSE(FormatAddItem(kGroup, 0, L"C:\\A\\x.exe", L"C:\\A\\", L"/U:\"A\\  /L:1", L"X", 0, 0, &command));
    EXPECT_FALSE(FormatDeleteItem(L"Bad\"Group", 0, L"X", &command));
    EXPECT_EQ(command, L"unchanged");
}

}  // namespace
