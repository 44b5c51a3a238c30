// The six language banks of the built setup.exe: complete, consistent with
// each other, English where the program's texts are quoted, and naming the
// localized files of each language.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

// Every relative ID that the program shows, formats or reads.
std::set<int> RequiredIds()
{
    std::set<int> ids = {1, 2, 3, 4, 10, 11, 13, 50, 63, 64, 65, 66, 67, 69, 100, 101, 102, 106, 107, 223, 224};
    auto range = [&ids](int first, int last) {
        for (int id = first; id <= last; ++id)
            ids.insert(id);
    };
    range(20, 24);
    range(30, 37);
    range(40, 43);
    range(70, 81);
    range(84, 97);
    range(111, 117);
    range(120, 125);
    range(128, 136);
    range(139, 145);
    range(160, 163);
    range(165, 182);
    range(200, 203);
    range(205, 207);
    range(209, 221);
    range(250, 253);
    range(255, 260);
    range(300, 309);
    range(311, 318);
    range(404, 433);
    return ids;
}

class BanksTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module_ = LoadLibraryExW(SETUP_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module_); }

    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " << SETUP_EXE_PATH; }

    static std::wstring Load(UINT id)
    {
        const wchar_t* text = nullptr;
        int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
    }

    // Relative ID -> text, for the IDs that hold a string in bank `base`.
    static std::map<int, std::wstring> Bank(UINT base)
    {
        std::map<int, std::wstring> bank;
        for (int id = 0; id < 1000; ++id) {
            std::wstring text = Load(base + id);
            if (!text.empty())
                bank[id] = text;
        }
        return bank;
    }

    static HMODULE module_;
};

HMODULE BanksTest::module_;

std::vector<std::wstring> Conversions(const std::wstring& text)
{
    static const std::wregex conversion(L"%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    std::vector<std::wstring> found;
    for (std::wsregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

TEST_F(BanksTest, EveryBankHoldsEveryRequiredIdAndNoOthers)
{
    std::set<int> required = RequiredIds();
    for (UINT base = 1000; base <= 6000; base += 1000) {
        std::set<int> present;
        for (const auto& entry : Bank(base))
            present.insert(entry.first);
        EXPECT_EQ(present, required) << "bank " << base;
    }
}

TEST_F(BanksTest, TranslationsKeepThePlaceholdersInOrder)
{
    std::map<int, std::wstring> english = Bank(1000);
    for (UINT base = 2000; base <= 6000; base += 1000) {
        std::map<int, std::wstring> bank = Bank(base);
        for (const auto& entry : english)
            EXPECT_EQ(Conversions(bank[entry.first]), Conversions(entry.second))
                << "bank " << base << " ID " << entry.first;
    }
}

TEST_F(BanksTest, SpanishFrenchAndGermanAreTranslated)
{
    std::map<int, std::wstring> english = Bank(1000);
    // Texts a user reads; names, options and product names stay as they are.
    const int translated[] = {1, 4, 20, 30, 33, 40, 70, 71, 73, 75, 81, 85, 111, 120, 122, 130, 404, 405, 408, 419,
                              424, 432, 433};
    for (UINT base : {2000u, 3000u, 4000u}) {
        std::map<int, std::wstring> bank = Bank(base);
        for (int id : translated)
            EXPECT_NE(bank[id], english[id]) << "bank " << base << " ID " << id;
    }
    EXPECT_EQ(Load(3001), L"Installation de Tapewright");
}

TEST_F(BanksTest, DutchAndItalianCarryTheEnglishTexts)
{
    std::map<int, std::wstring> english = Bank(1000);
    const std::set<int> localizedNames = {161, 162, 163, 168, 171, 178, 202, 206};
    for (UINT base : {5000u, 6000u}) {
        std::map<int, std::wstring> bank = Bank(base);
        for (const auto& entry : english) {
            if (!localizedNames.count(entry.first)) {
                EXPECT_EQ(bank[entry.first], entry.second) << "bank " << base << " ID " << entry.first;
            }
        }
    }
}

TEST_F(BanksTest, EnglishTextsSurviveTheResourceCompiler)
{
    // Texts with line breaks, quotes, backslashes, doubled ampersands and
    // double spaces, which the resource compiler could mangle.
    EXPECT_EQ(Load(1071), L"The installation is not complete.  Are you sure you wish to cancel installation?");
    EXPECT_EQ(Load(1081), L"The source file:\n\"%s\"\ncould not be opened.  The file may have been deleted from "
                          L"the source disk.");
    EXPECT_EQ(Load(1250), L"\\TAPWRITE\\NT");
    EXPECT_EQ(Load(1423), L"&Shutdown && Restart");
    EXPECT_EQ(Load(1134), L"The account \"%s\" does not exist.\n\nDo you want to create it and grant it "
                          L"Administrative and \"Logon As a Service\" rights?");
    EXPECT_EQ(Load(1075), L"Disk Drive %.2s specified in the destination path:\n\n%s\n\nHas insufficient disk "
                          L"space.  Please free up some disk space, then reinstall this application.");
    EXPECT_EQ(Load(1001), L"Tapewright Installation");
    EXPECT_EQ(Load(1004), L"Welcome to Tapewright for Windows NT.");
    EXPECT_EQ(Load(1255), L"Velmar Advertising and Naming Service");
    EXPECT_EQ(Load(1259), L"VelmarAgentBrowser");
}

TEST_F(BanksTest, BanklessStringsHoldSettingsAndTheLanguageList)
{
    EXPECT_EQ(Load(1), L"5");
    EXPECT_EQ(Load(2), L"1600");
    EXPECT_EQ(Load(10), L"4");
    EXPECT_EQ(Load(11), L"15");
    EXPECT_EQ(Load(30), L"8");
    EXPECT_EQ(Load(31), L"4");
    EXPECT_EQ(Load(41), L"Espa\u00f1ol: Seleccione esta opci\u00f3n para instalar en Espa\u00f1ol");
    EXPECT_EQ(Load(43), L"Deutsch: W\u00e4hlen Sie diese Einstellung f\u00fcr eine Installation in Deutsch");
    const wchar_t* codes[] = {L"EN", L"ES", L"FR", L"DE", L"NL", L"IT"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Load(50 + i), codes[i]);
        EXPECT_FALSE(Load(40 + i).empty());
    }
}

TEST_F(BanksTest, FileNamesFollowTheLanguage)
{
    struct Row {
        int id;
        const wchar_t* names[6];
    } rows[] = {
        {161, {L"twwntenu.hl_", L"twwntesm.hl_", L"twwntfra.hl_", L"twwntdeu.hl_", L"twwinnt.hl_", L"twwinnt.hl_"}},
        {162, {L"readenu.txt", L"readesm.txt", L"readfra.txt", L"readdeu.txt", L"readme.txt", L"readme.txt"}},
        {163, {L"twresenu.dl_", L"twresesm.dl_", L"twresfra.dl_", L"twresdeu.dl_", L"twresnt.dl_", L"twresnt.dl_"}},
        {168, {L"jscopenu.ex_", L"jscopesm.ex_", L"jscopfra.ex_", L"jscopdeu.ex_", L"jobscope.ex_", L"jobscope.ex_"}},
        {171, {L"twevtenu.dl_", L"twevtesm.dl_", L"twevtfra.dl_", L"twevtdeu.dl_", L"twevents.dl_", L"twevents.dl_"}},
        {178, {L"jscopenu.hl_", L"jscopesm.hl_", L"jscopfra.hl_", L"jscopdeu.hl_", L"jobscope.hl_", L"jobscope.hl_"}},
        {202, {L"readme.txt", L"leame.txt", L"lisezmoi.txt", L"readme.txt", L"readme.txt", L"readme.txt"}},
        {206, {L"setup.exe", L"instalar.exe", L"setup.exe", L"setup.exe", L"SETUP.EXE", L"SETUP.EXE"}},
        {166, {L"setup.exe", L"setup.exe", L"setup.exe", L"setup.exe", L"setup.exe", L"setup.exe"}},
        {200, {L"TWWINNT.EXE", L"TWWINNT.EXE", L"TWWINNT.EXE", L"TWWINNT.EXE", L"TWWINNT.EXE", L"TWWINNT.EXE"}},
    };
    for (const Row& row : rows)
        for (int bank = 0; bank < 6; ++bank)
            EXPECT_EQ(Load((bank + 1) * 1000 + row.id), row.names[bank]) << "bank " << bank + 1 << " ID " << row.id;
}

}  // namespace
