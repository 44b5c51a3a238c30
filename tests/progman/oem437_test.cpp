// The 8-bit form of commands for the older Program Manager.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "progman/oem437.h"

namespace {

constexpr char kDefault = '_';

TEST(Oem437, TheUpperHalfMatchesTheSystemsCodePage437)
{
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(437, 0, &narrow, 1, &wide, 1), 1);
        EXPECT_EQ(WideToOem437(std::wstring(1, wide), kDefault), std::string(1, narrow)) << std::hex << byte;
    }
}

TEST(Oem437, SymbolsAndSmallAndFullwidthFormsTakeTheirListedBytes)
{
    // Each character of the symbols and of the forms, with its byte below.
    const std::wstring symbols =
        L"\x00A7\x00B6\x2022\x203C\x2190\x2191\x2192\x2193\x2194\x2195\x21A8\x221F\x22D9\x25AC\x25B2\x25BA"
        L"\x25BC\x25C4\x25CB\x25D8\x263A\x263B\x263C\x2640\x2642\x2660\x2663\x2665\x2666\x266A\x266B";
    const std::string symbolBytes =
        "\x15\x16\x1C\x1D\x1B\x1A\x03\x14\x13\x0D\x19\x18\x1E\x1F\x17\x10"
        "\x12\x0A\x04\x02\x01\x0E\x0B\x06\x08\x07\x05\x0C\x09\x0F\x11";
    const std::wstring forms =
        L"\xFE33\xFE34\xFE35\xFE36\xFE37\xFE38\xFE4D\xFE4E\xFE4F\xFE50\xFE52\xFE54\xFE55\xFE56\xFE57\xFE59"
        L"\xFE5A\xFE5B\xFE5C\xFE5F\xFE60\xFE61\xFE62\xFE63\xFE64\xFE65\xFE66\xFE68\xFE69\xFE6A\xFE6B"
        L"\xFFE0\xFFE1\xFFE2\xFFE3\xFFE4\xFFE5";
    const std::string formBytes = "__(){}___,.;:?!(){}#&*+-<>=\\$%@\xA2\xA3\xAC\xAF\xA6\xA5";
    EXPECT_EQ(WideToOem437(symbols, kDefault), symbolBytes);
    EXPECT_EQ(WideToOem437(forms, kDefault), formBytes);

    std::wstring fullwidth;
    std::string ascii;
    for (wchar_t ch = 0xFF01; ch <= 0xFF5E; ++ch) {
        fullwidth += ch;
        ascii += static_cast<char>(ch - 0xFF01 + 0x21);
    }
    EXPECT_EQ(WideToOem437(fullwidth, kDefault), ascii);
}

TEST(Oem437, AsciiIsKeptAndAnythingElseTakesTheDefaultByte)
{
    std::wstring ascii;
    for (wchar_t ch = 1; ch < 0x80; ++ch)
        ascii += ch;
    EXPECT_EQ(WideToOem437(ascii, kDefault), std::string(ascii.begin(), ascii.end()));
    // Outside every table: a letter of another script, neighbours of the
    // fullwidth block and of the listed forms, a surrogate.
    EXPECT_EQ(WideToOem437(L"\x0416\xFF5F\xFE51\xFFE6\xD83D", '?'), "?????");
}

}  // namespace
