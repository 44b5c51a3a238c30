// The language dialog driven through its real window: preselection from the
// regional settings, the setup window's texts switching on each click, and
// Cancel ending the program.
#include <gtest/gtest.h>

#include "support/setup_process.h"

namespace {

const wchar_t kLanguageCaption[] = L"Tapewright";

bool Checked(HWND dialog, int id)
{
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(LanguageDialog, OffersFourLanguagesAndShrinksToThem)
{
    RegionalLanguage english(L"ENU");
    SetupProcess setup(L"");
    HWND dialog = setup.WaitForDialog(kLanguageCaption);
    ASSERT_NE(dialog, nullptr);
    for (int id = 1001; id <= 1008; ++id)
        EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, id)) != FALSE, id <= 1004) << id;
    EXPECT_EQ(ItemText(dialog, 1001), L"English: select this for English Installation");
    EXPECT_EQ(ItemText(dialog, 1003),
              L"Fran\u00e7ais: s\u00e9lectionnez cette option pour une installation en fran\u00e7ais");
    EXPECT_TRUE(Checked(dialog, 1001));

    RECT box, margin;
    GetWindowRect(dialog, &box);
    GetWindowRect(GetDlgItem(dialog, 1005), &margin);
    EXPECT_EQ(box.bottom, margin.bottom);

    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST(LanguageDialog, RegionalSettingPreselectsTheLanguage)
{
    struct Case {
        const wchar_t* region;
        int button;
    } cases[] = {{L"ESN", 1002}, {L"ESM", 1002}, {L"FRC", 1003}, {L"DES", 1004}, {L"NLD", 1001}, {L"ITA", 1001}};
    for (const Case& c : cases) {
        RegionalLanguage region(c.region);
        SetupProcess setup(L"");
        HWND dialog = setup.WaitForDialog(kLanguageCaption);
        ASSERT_NE(dialog, nullptr) << c.region;
        EXPECT_TRUE(Checked(dialog, c.button)) << c.region;
        PressButton(dialog, IDCANCEL);
        EXPECT_EQ(setup.WaitForExit(), 1u);
    }
}

TEST(LanguageDialog, ClickingALanguageSwitchesTheWindowTextsAtOnce)
{
    RegionalLanguage german(L"DEU");
    SetupProcess setup(L"");
    HWND dialog = setup.WaitForDialog(kLanguageCaption);
    ASSERT_NE(dialog, nullptr);
    HWND frame = setup.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(Checked(dialog, 1004));
    std::wstring germanCaption = WindowText(frame);
    EXPECT_NE(germanCaption, L"Tapewright Installation");
    std::wstring germanCancel = ItemText(dialog, IDCANCEL);

    PressButton(dialog, 1003);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Installation de Tapewright"; }));
    EXPECT_NE(ItemText(dialog, IDCANCEL), germanCancel);
    EXPECT_EQ(ItemText(dialog, IDOK), L"OK");

    PressButton(dialog, 1001);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Tapewright Installation"; }));
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"Cancel");

    // The last click before OK wins: the next dialog speaks French.
    PressButton(dialog, 1003);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Installation de Tapewright"; }));
    PressButton(dialog, IDOK);
    HWND type = setup.WaitForDialog(nullptr);
    ASSERT_NE(type, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return setup.FindDialog(kLanguageCaption) == nullptr; }));
    type = setup.WaitForWindow(L"#32770", nullptr);
    EXPECT_NE(WindowText(type), L"Tapewright Install");
    EXPECT_NE(ItemText(type, 301), L"&Backup Server");
    PressButton(type, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST(LanguageDialog, CancelEndsTheProgramWithoutTheCancelQuestion)
{
    SetupProcess setup(L"");
    HWND dialog = setup.WaitForDialog(kLanguageCaption);
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
    EXPECT_EQ(setup.FindDialog(L"Cancel Installation"), nullptr);
}

TEST(LanguageDialog, UnattendedRunIsEnglishWhateverTheRegion)
{
    RegionalLanguage german(L"DEU");
    // "/SMS:" does not skip the install-type dialog: it shows in English.
    SetupProcess setup(L"/SMS:");
    HWND type = setup.WaitForDialog(L"Tapewright Install");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(ItemText(type, 301), L"&Backup Server");
    EXPECT_EQ(WindowText(setup.WaitForFrame()), L"Tapewright Installation");
    PressButton(type, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

TEST(LanguageDialog, LanguageOptionSkipsTheDialog)
{
    SetupProcess setup(L"/L:4");
    HWND type = setup.WaitForDialog(nullptr);
    ASSERT_NE(type, nullptr);
    EXPECT_NE(WindowText(type), kLanguageCaption);
    EXPECT_NE(WindowText(setup.WaitForFrame()), L"Tapewright Installation");
    PressButton(type, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

}  // namespace
