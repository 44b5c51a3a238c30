// The text of Program Manager's commands: fields that would end a command,
// and the 8-bit form for the older Program Manager.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "progman/oem437.h"
#include "progman/progman_commands.h"

namespace {

TEST(CommandText, FieldsThatWouldEndACommandAreQuotedAndTheUnquotableRefused)
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
    std::wstring command;
    ASSERT_TRUE(FormatAddItem(L"TW", 1, L"C:\\Program Files\\TW\\setup.exe", L"C:\\Program Files\\TW\\",
                              L"/U:A:\\  /L:2", L"Setup", 0, 0, &command));
    EXPECT_EQ(command, L"[CreateGroup(TW,1)][ShowGroup(TW,5,1)][AddItem(\"C:\\Program Files\\TW\\setup.exe\" "
                       L"/U:A:\\  /L:2,Setup,\"C:\\Program Files\\TW\\setup.exe\",0,,,\"C:\\Program Files\\TW\\\",,0)]");
    // Arguments that would end the field outside quotes, or leave a quote open.
    EXPECT_FALSE(FormatAddItem(L"TW", 0, L"C:\\A\\x.exe", L"C:\\A\\", L"/U:A,B\\", L"X", 0, 0, &command));
    EXPECT_FALSE(FormatAddItem(L"TW", 0, L"C:\\A\\x.exe", L"C:\\A\\", L"/U:\"A\\  /L:1", L"X", 0, 0, &command));
}

TEST(CommandText, EveryListedCharacterTakesItsCodePage437ByteAndAnyOtherTheDefault)
{
    std::wstring text;
    std::string bytes;
    for (int byte = 1; byte <= 0xFF; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(437, 0, &narrow, 1, &wide, 1), 1);
        text += byte < 0x80 ? static_cast<wchar_t>(byte) : wide;  // the upper half as the system reads it
        bytes += narrow;
    }
    for (wchar_t ch = 0xFF01; ch <= 0xFF5E; ++ch) {
        text += ch;
        bytes += static_cast<char>(ch - 0xFF01 + 0x21);
    }
    // The symbols, the small and fullwidth forms outside the fullwidth ASCII
    // block, then characters outside every table (a letter of another
    // script, neighbours of the fullwidth block and of the forms, a surrogate).
    text += L"\x00A7\x00B6\x2022\x203C\x2190\x2191\x2192\x2193\x2194\x2195\x21A8\x221F\x22D9\x25AC\x25B2\x25BA"
            L"\x25BC\x25C4\x25CB\x25D8\x263A\x263B\x263C\x2640\x2642\x2660\x2663\x2665\x2666\x266A\x266B"
            L"\xFE33\xFE34\xFE35\xFE36\xFE37\xFE38\xFE4D\xFE4E\xFE4F\xFE50\xFE52\xFE54\xFE55\xFE56\xFE57\xFE59"
            L"\xFE5A\xFE5B\xFE5C\xFE5F\xFE60\xFE61\xFE62\xFE63\xFE64\xFE65\xFE66\xFE68\xFE69\xFE6A\xFE6B"
            L"\xFFE0\xFFE1\xFFE2\xFFE3\xFFE4\xFFE5\x0416\xFF5F\xFE51\xFFE6\xD83D";
    bytes += "\x15\x16\x1C\x1D\x1B\x1A\x03\x14\x13\x0D\x19\x18\x1E\x1F\x17\x10"
             "\x12\x0A\x04\x02\x01\x0E\x0B\x06\x08\x07\x05\x0C\x09\x0F\x11"
             "__(){}___,.;:?!(){}#&*+-<>=\\$%@\xA2\xA3\xAC\xAF\xA6\xA5?????";
    EXPECT_EQ(WideToOem437(text, '?'), bytes);
}

}  // namespace
