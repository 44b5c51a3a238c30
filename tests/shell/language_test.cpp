// Choosing the language: preselection from the regional settings, the
// dialog driven through its real window with the setup window's texts
// switching on each click, and the unattended run that never shows it.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "shell/language.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/registry_override.h"
#include "support/setup_process.h"

namespace {

const int kEnglish = IDC_LANGUAGE_FIRST;
const int kSpanish = IDC_LANGUAGE_FIRST + 1;
const int kFrench = IDC_LANGUAGE_FIRST + 2;
const int kGerman = IDC_LANGUAGE_FIRST + 3;

TEST(Language, RegionalSettingPreselectsAnOfferedLanguage)
{
    ResetSetupState();
    struct Case {
        const wchar_t* region;
        int button;
    } cases[] = {{L"ENU", kEnglish}, {L"ESN", kSpanish}, {L"ESM", kSpanish}, {L"FRC", kFrench},
                 {L"DES", kGerman},  {L"NLD", kEnglish}, {L"ITA", kEnglish}};
    for (const Case& c : cases) {
        RegionalLanguage region(c.region);
        EXPECT_EQ(DefaultLanguageIndex(), c.button - IDC_LANGUAGE_FIRST) << c.region;
    }
}

TEST(Language, UnattendedRunIsEnglishWithoutTheDialog)
{
    ResetSetupState(L"setup.exe /SMS:");
    LangBase = 4000;
    RegionalLanguage german(L"DEU");
    MessageBoxAnswerer answerer({IDOK});  // would answer the dialog too
    EXPECT_TRUE(ChooseLanguage(nullptr));
    EXPECT_EQ(LangBase, 1000u);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST(LanguageDialog, OffersFourLanguagesAndClickingOneSwitchesTheWindowTextsAtOnce)
{
    RegionalLanguage german(L"DEU");
    SetupProcess setup(L"");
    HWND dialog = setup.WaitForDialog(L"Tapewright");
    ASSERT_NE(dialog, nullptr);
    HWND frame = setup.WaitForFrame();
    ASSERT_NE(frame, nullptr);
    for (int i = 0; i < IDC_LANGUAGE_COUNT; ++i)
        EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, IDC_LANGUAGE_FIRST + i)) != FALSE, i < 4) << i;
    EXPECT_EQ(ItemText(dialog, kEnglish), L"English: select this for English Installation");
    EXPECT_EQ(ItemText(dialog, kFrench),
              L"Fran\u00e7ais: s\u00e9lectionnez cette option pour une installation en fran\u00e7ais");
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kGerman), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(ItemText(dialog, IDCANCEL), L"Cancel");
    // The dialog ends at the foot of the first unused button's slot.
    RECT box, margin;
    GetWindowRect(dialog, &box);
    GetWindowRect(GetDlgItem(dialog, IDC_LANGUAGE_FIRST + 4), &margin);
    EXPECT_EQ(box.bottom, margin.bottom);

    PressButton(dialog, kEnglish);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Tapewright Installation"; }));
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"Cancel");

    // The last click before OK wins: the next dialog speaks French.
    PressButton(dialog, kFrench);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame) == L"Installation de Tapewright"; }));
    PressButton(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return setup.WaitForDialog(L"Tapewright", 0) == nullptr; }));
    HWND type = setup.WaitForDialog(nullptr);
    ASSERT_NE(type, nullptr);
    EXPECT_NE(WindowText(type), L"Tapewright Install");
    EXPECT_NE(ItemText(type, IDC_TYPE_BACKUP), L"&Backup Server");
    PressButton(type, IDCANCEL);
    EXPECT_EQ(setup.WaitForExit(), 1u);
}

}  // namespace
