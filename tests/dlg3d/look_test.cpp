// The 3D look on real windows, read back pixel by pixel. The same program is
// built twice: run as Windows NT 3.51 the library is active and every probe
// shows the look; run as Windows 10 it stays off and draws nothing.
#include <gtest/gtest.h>

#include "dlg3d/dlg3d.h"
#include "look_ids.h"
#include "support/look_probes.h"
#include "support/registry_override.h"
#include "support/setup_process.h"
#include "support/wine_version.h"

using namespace support;

namespace {

const bool kActive = LOOK_ACTIVE;
class Look : public LookTest {};

// One dialog with a control of every kind, read back once.
TEST_F(Look, EveryControlOfADialogTakesTheLookOrKeepsItsOwn)
{
    ASSERT_EQ(active_, kActive);
    HWND dialog = Open(IDD_LOOK);
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_CHECK, IDC_CHECK_DISABLED, IDC_RADIO})
        SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, IDC_THREE_STATE, BM_SETCHECK, BST_INDETERMINATE, 0);
    SettleWindows();

    const int fx = GetSystemMetrics(SM_CXDLGFRAME) - 1, fy = GetSystemMetrics(SM_CYDLGFRAME) - 1;
    const int cxv = GetSystemMetrics(SM_CXVSCROLL);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT), face = GetSysColor(COLOR_BTNFACE),
                   frame = GetSysColor(COLOR_WINDOWFRAME), text = GetSysColor(COLOR_WINDOWTEXT),
                   window = GetSysColor(COLOR_WINDOW);
    const Probe probes[] = {
        {"dialog outer line", 0, In::Window, 0, 0, TopLeft, shadow},
        {"dialog outer line, lower right", 0, In::Window, -1, -1, BottomRight, frame},
        {"dialog inner line", 0, In::Window, 1, 1, TopLeft, light, false},
        {"caption box", 0, In::Window, 2 + fx, 2 + fy - 1, TopLeft, shadow},
        {"default button, outer box", IDC_DEFAULT, In::Client, 5, 0, TopLeft, frame, false},
        {"default button, second box", IDC_DEFAULT, In::Client, 5, 1, TopLeft, frame},
        {"button corner, the dialog's face", IDC_PUSH, In::Client, 0, 0, TopLeft, face},
        {"button, two lines of bevel", IDC_PUSH, In::Client, 5, 2, TopLeft, light},
        {"disabled button, one box", IDC_PUSH_DISABLED, In::Client, 5, 1, TopLeft, light},
        {"group box etched, dark", IDC_GROUP, In::Client, 0, -2, FromBottom, shadow, false},
        {"group box etched, light", IDC_GROUP, In::Client, 1, -1, FromBottom, light, false},
        {"edit, inner line", IDC_EDIT, In::Around, 0, 0, TopLeft, frame},
        {"edit, outer line", IDC_EDIT, In::Around, -1, -1, TopLeft, shadow},
        {"edit, outer lower right", IDC_EDIT, In::Around, 0, 0, BottomRight, light},
        {"edit, no line within", IDC_EDIT, In::Around, 1, 1, TopLeft, window},
        {"disabled edit, no line within", IDC_EDIT_DISABLED, In::Around, 1, 1, TopLeft, face},
        {"list, inner right", IDC_LIST, In::Around, -1, 5, FromRight, face},
        {"list, no line within", IDC_LIST, In::Around, 1, 5, TopLeft, window},
        {"list with scroll bar, outer right", IDC_LIST_SCROLL, In::Around, 0, 5, FromRight, light},
        {"list with scroll bar, row under it", IDC_LIST_SCROLL, In::Around, -cxv / 2, -1, BottomRight, frame},
        // One frame around each combo box, drop button included.
        {"drop-down combo, inner line on its edge", IDC_COMBO_DROPDOWN, In::Around, 5, 0, TopLeft, frame},
        {"drop-down combo, outer line", IDC_COMBO_DROPDOWN, In::Around, 5, -1, TopLeft, shadow},
        {"drop-down combo, no line within", IDC_COMBO_DROPDOWN, In::Around, 1, 8, TopLeft, window},
        {"drop-down combo, no frame around its edit", IDC_COMBO_DROPDOWN, In::Around, 2, 8, TopLeft, window, false},
        {"simple combo, inner line on its edge", IDC_COMBO_SIMPLE, In::Around, 5, 0, TopLeft, frame},
        {"drop-down list, inner top", IDC_COMBO_LIST, In::Around, 5, 0, TopLeft, frame},
        {"drop-down list, no line within", IDC_COMBO_LIST, In::Around, 5, 1, TopLeft, window},
        {"drop-down list, button column", IDC_COMBO_LIST, In::Around, -1, 5, FromRight, frame},
        {"black frame, sunken", IDC_BLACK_FRAME, In::Client, 0, 0, TopLeft, shadow},
        {"black frame, lower right", IDC_BLACK_FRAME, In::Client, -1, -1, BottomRight, light},
        {"grey frame, etched", IDC_GRAY_FRAME, In::Client, 1, 1, TopLeft, light},
        {"grey frame, etched dark", IDC_GRAY_FRAME, In::Client, -2, -2, BottomRight, shadow},
        {"white frame, raised", IDC_WHITE_FRAME, In::Client, 0, 0, TopLeft, light, false},
        {"white frame, lower right", IDC_WHITE_FRAME, In::Client, -1, -1, BottomRight, shadow},
        // Glyph columns: checked at 14, disabled and checked at 56, on the
        // rows of the check box, the radio button and the 3-state box.
        {"check box, tick", IDC_CHECK, In::Glyph, 3, 5, TopLeft, text},
        {"check box, inside", IDC_CHECK, In::Glyph, 3, 3, TopLeft, window, false},
        {"disabled checked, inside", IDC_CHECK_DISABLED, In::Glyph, 3, 3, TopLeft, face, false},
        {"disabled checked, tick", IDC_CHECK_DISABLED, In::Glyph, 3, 5, TopLeft, shadow},
        {"radio button, dot", IDC_RADIO, In::Glyph, 5, 5, TopLeft, text},
        {"radio button, inside", IDC_RADIO, In::Glyph, 3, 3, TopLeft, window},
        {"indeterminate, tick", IDC_THREE_STATE, In::Glyph, 3, 5, TopLeft, shadow},
        {"indeterminate, inside", IDC_THREE_STATE, In::Glyph, 3, 3, TopLeft, window, false},
    };
    for (const Probe& probe : probes) {
        if (kActive || probe.plainDiffers) {
            EXPECT_EQ(ReadProbe(dialog, probe) == probe.colour, kActive) << probe.what;
        }
    }
    for (int id : {IDC_DEFAULT, IDC_CHECK, IDC_RADIO, IDC_THREE_STATE, IDC_GROUP, IDC_EDIT, IDC_LIST, IDC_COMBO_SIMPLE,
                   IDC_COMBO_LIST, IDC_BLACK_FRAME, IDC_GRAY_FRAME, IDC_WHITE_FRAME, IDC_TEXT})
        EXPECT_EQ(HasTheLook(GetDlgItem(dialog, id)), kActive) << id;
    EXPECT_EQ(HasTheLook(dialog), kActive);
    EXPECT_FALSE(HasTheLook(GetDlgItem(dialog, IDC_LEFT_TEXT)));  // left text keeps the ordinary look
}

// Setup hooks its thread at start-up: its dialogs have the look as the
// older system and not as the newer one.
TEST(SetupLook, SetupsDialogsFollowTheSystemVersion)
{
    RegistryOverride version(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\setup.exe", L"Version");
    version.Set(LOOK_VERSION);
    SetupProcess setup(L"/L:1");
    HWND dialog = setup.WaitForDialog(nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(HasTheLook(dialog), kActive);
    EXPECT_EQ(HasTheLook(GetDlgItem(dialog, IDCANCEL)), kActive);
    PressButton(dialog, IDCANCEL);
    setup.WaitForExit();
}

}  // namespace

int main(int argc, char** argv)
{
    return RunAsWineVersion(LOOK_VERSION, [&] {
        ::testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    });
}
