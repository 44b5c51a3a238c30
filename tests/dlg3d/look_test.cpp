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

namespace {

const bool kActive = LOOK_ACTIVE;

class Look : public LookTest {};

// One dialog with a control of every kind, read back once.
TEST_F(Look, EveryControlOfADialogTakesTheLookOrKeepsItsOwn)
{
    ASSERT_EQ(active_, kActive);
    HWND dialog = Open(IDD_LOOK);
    ASSERT_NE(dialog, nullptr);
    SendDlgItemMessageW(dialog, IDC_CHECK, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, IDC_CHECK_DISABLED, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, IDC_RADIO, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, IDC_THREE_STATE, BM_SETCHECK, BST_INDETERMINATE, 0);
    SettleWindows();

    const int fx = GetSystemMetrics(SM_CXDLGFRAME) - 1;
    const int fy = GetSystemMetrics(SM_CYDLGFRAME) - 1;
    const int cxv = GetSystemMetrics(SM_CXVSCROLL);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT), face = GetSysColor(COLOR_BTNFACE),
                   frame = GetSysColor(COLOR_WINDOWFRAME), window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    const Probe probes[] = {
        {"dialog outer line", 0, In::Window, 0, 0, TopLeft, shadow, true},
        {"dialog outer line, lower right", 0, In::Window, -1, -1, BottomRight, frame, true},
        {"dialog inner line", 0, In::Window, 1, 1, TopLeft, light, false},
        {"dialog inner line, lower right", 0, In::Window, -2, -2, BottomRight, shadow, false},
        {"caption box", 0, In::Window, 2 + fx, 2 + fy - 1, TopLeft, shadow, true},
        {"default button, outer box", IDC_DEFAULT, In::Client, 5, 0, TopLeft, frame, false},
        {"default button, second box", IDC_DEFAULT, In::Client, 5, 1, TopLeft, frame, true},
        {"default button, bevel", IDC_DEFAULT, In::Client, 5, 2, TopLeft, light, true},
        {"button corner, parent's brush", IDC_PUSH, In::Client, 0, 0, TopLeft, face, true},
        {"button, two lines of bevel", IDC_PUSH, In::Client, 5, 2, TopLeft, light, true},
        {"button, shadow", IDC_PUSH, In::Client, -2, 5, FromRight, shadow, false},
        {"disabled button, one box", IDC_PUSH_DISABLED, In::Client, 5, 1, TopLeft, light, true},
        {"group box etched, dark", IDC_GROUP, In::Client, 0, -2, FromBottom, shadow, false},
        {"group box etched, light", IDC_GROUP, In::Client, 1, -1, FromBottom, light, false},
        {"edit, inner line", IDC_EDIT, In::Around, 0, 0, TopLeft, frame, true},
        {"edit, outer line", IDC_EDIT, In::Around, -1, -1, TopLeft, shadow, true},
        {"edit, outer lower right", IDC_EDIT, In::Around, 0, 0, BottomRight, light, true},
        {"list, inner right", IDC_LIST, In::Around, -1, 5, FromRight, face, true},
        {"list with scroll bar, outer right", IDC_LIST_SCROLL, In::Around, 0, 5, FromRight, light, true},
        {"list with scroll bar, row under it", IDC_LIST_SCROLL, In::Around, -cxv / 2, -1, BottomRight, frame, true},
        {"simple combo, edit's inner line", -IDC_COMBO_SIMPLE, In::Around, 0, 0, TopLeft, frame, true},
        {"drop-down list, inner top", IDC_COMBO_LIST, In::Around, 5, 0, TopLeft, frame, true},
        {"drop-down list, button column", IDC_COMBO_LIST, In::Around, -1, 5, FromRight, frame, true},
        {"black frame, sunken", IDC_BLACK_FRAME, In::Client, 0, 0, TopLeft, shadow, true},
        {"black frame, lower right", IDC_BLACK_FRAME, In::Client, -1, -1, BottomRight, light, true},
        {"grey frame, etched", IDC_GRAY_FRAME, In::Client, 1, 1, TopLeft, light, true},
        {"grey frame, etched dark", IDC_GRAY_FRAME, In::Client, -2, -2, BottomRight, shadow, true},
        {"white frame, raised", IDC_WHITE_FRAME, In::Client, 0, 0, TopLeft, light, false},
        {"white frame, lower right", IDC_WHITE_FRAME, In::Client, -1, -1, BottomRight, shadow, true},
        // Glyph columns: checked 14, disabled and checked 56, on the rows of
        // the check box, the radio button and the indeterminate box.
        {"check box, box", IDC_CHECK, In::Glyph, 0, 0, TopLeft, shadow, false},
        {"check box, inside", IDC_CHECK, In::Glyph, 3, 3, TopLeft, window, false},
        {"check box, tick", IDC_CHECK, In::Glyph, 3, 5, TopLeft, text, true},
        {"disabled checked, inside", IDC_CHECK_DISABLED, In::Glyph, 3, 3, TopLeft, face, false},
        {"disabled checked, tick", IDC_CHECK_DISABLED, In::Glyph, 3, 5, TopLeft, shadow, true},
        {"radio button, dot", IDC_RADIO, In::Glyph, 5, 5, TopLeft, text, true},
        {"radio button, inside", IDC_RADIO, In::Glyph, 3, 3, TopLeft, window, true},
        {"indeterminate, tick", IDC_THREE_STATE, In::Glyph, 3, 5, TopLeft, shadow, true},
        {"indeterminate, inside", IDC_THREE_STATE, In::Glyph, 3, 3, TopLeft, window, false},
    };
    for (const Probe& probe : probes) {
        const COLORREF read = ReadProbe(dialog, probe);
        if (kActive) {
            EXPECT_EQ(read, probe.colour) << probe.what;
        } else if (probe.plainDiffers) {
            EXPECT_NE(read, probe.colour) << probe.what;
        }
    }
    for (int id : {IDC_DEFAULT, IDC_CHECK, IDC_GROUP, IDC_EDIT, IDC_LIST, IDC_COMBO_SIMPLE, IDC_COMBO_LIST,
                   IDC_BLACK_FRAME, IDC_TEXT})
        EXPECT_EQ(HasTheLook(GetDlgItem(dialog, id)), kActive) << id;
    EXPECT_EQ(HasTheLook(dialog), kActive);
    // Left text keeps the ordinary look; a drop-down combo box leaves itself
    // to the system and has only its edit done.
    EXPECT_FALSE(HasTheLook(GetDlgItem(dialog, IDC_LEFT_TEXT)));
    EXPECT_FALSE(HasTheLook(GetDlgItem(dialog, IDC_COMBO_DROPDOWN)));
    EXPECT_EQ(HasTheLook(GetWindow(GetDlgItem(dialog, IDC_COMBO_DROPDOWN), GW_CHILD)), kActive);
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
