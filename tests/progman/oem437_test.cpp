// The 8-bit form of commands for the older Program Manager.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "progman/oem437.h"

namespace {

constexpr char kDefault = '_';

struct CharByte {
    wchar_t ch;
    unsigned char byte;
};

void ExpectBytes(const CharByte* entries, size_t count, const char* table)
{
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << table << " U+" << std::hex << static_cast<unsigned>(entries[i].ch));
        EXPECT_EQ(WideToOem437(std::wstring(1, entries[i].ch), kDefault),
                  std::string(1, static_cast<char>(entries[i].byte)));
    }
}

TEST(Oem437, TheUpperHalfMatchesTheSystemsCodePage437)
{
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(437, 0, &narrow, 1, &wide, 1), 1);
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << byte);
        EXPECT_EQ(WideToOem437(std::wstring(1, wide), kDefault), std::string(1, narrow));
    }
}

TEST(Oem437, SymbolsAndSmallAndFullwidthFormsTakeTheirListedBytes)
{
    const CharByte symbols[] = {
        {0x00A7, 0x15}, {0x00B6, 0x16}, {0x2022, 0x1C}, {0x203C, 0x1D}, {0x2190, 0x1B}, {0x2191, 0x1A},
        {0x2192, 0x03}, {0x2193, 0x14}, {0x2194, 0x13}, {0x2195, 0x0D}, {0x21A8, 0x19}, {0x221F, 0x18},
        {0x22D9, 0x1E}, {0x25AC, 0x1F}, {0x25B2, 0x17}, {0x25BA, 0x10}, {0x25BC, 0x12}, {0x25C4, 0x0A},
        {0x25CB, 0x04}, {0x25D8, 0x02}, {0x263A, 0x01}, {0x263B, 0x0E}, {0x263C, 0x0B}, {0x2640, 0x06},
        {0x2642, 0x08}, {0x2660, 0x07}, {0x2663, 0x05}, {0x2665, 0x0C}, {0x2666, 0x09}, {0x266A, 0x0F},
        {0x266B, 0x11},
    };
    const CharByte forms[] = {
        {0xFE33, 0x5F}, {0xFE34, 0x5F}, {0xFE35, 0x28}, {0xFE36, 0x29}, {0xFE37, 0x7B}, {0xFE38, 0x7D},
        {0xFE4D, 0x5F}, {0xFE4E, 0x5F}, {0xFE4F, 0x5F}, {0xFE50, 0x2C}, {0xFE52, 0x2E}, {0xFE54, 0x3B},
        {0xFE55, 0x3A}, {0xFE56, 0x3F}, {0xFE57, 0x21}, {0xFE59, 0x28}, {0xFE5A, 0x29}, {0xFE5B, 0x7B},
        {0xFE5C, 0x7D}, {0xFE5F, 0x23}, {0xFE60, 0x26}, {0xFE61, 0x2A}, {0xFE62, 0x2B}, {0xFE63, 0x2D},
        {0xFE64, 0x3C}, {0xFE65, 0x3E}, {0xFE66, 0x3D}, {0xFE68, 0x5C}, {0xFE69, 0x24}, {0xFE6A, 0x25},
        {0xFE6B, 0x40}, {0xFFE0, 0xA2}, {0xFFE1, 0xA3}, {0xFFE2, 0xAC}, {0xFFE3, 0xAF}, {0xFFE4, 0xA6},
        {0xFFE5, 0xA5},
    };
    ExpectBytes(symbols, sizeof symbols / sizeof symbols[0], "symbol");
    ExpectBytes(forms, sizeof forms / sizeof forms[0], "form");

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
    // Outside every table: a letter of another script, a neighbour of the
    // fullwidth block and of the listed forms, a surrogate.
    EXPECT_EQ(WideToOem437(L"\x0416\xFF5F\xFE51\xFFE6\xD83D", kDefault), "_____");
    EXPECT_EQ(WideToOem437(L"Caf\x00E9 \x2605", '?'), "Caf\x82 ?");
}

}  // namespace
