// The install-type choice: options that skip the dialog, and the dialog
// itself for an administrator and for a user without administrator rights.
#include <gtest/gtest.h>

#include "flow/install_type.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/setup_process.h"

namespace {

const wchar_t kTypeCaption[] = L"Tapewright Install";

TEST(InstallTypeOptions, FirstOptionInOrderWinsWithoutAdministratorRights)
{
    struct Case {
        const wchar_t* line;
        DWORD type;
        DWORD mode;
    } cases[] = {
        {L"setup.exe /TS:", kInstallBackupServer, kModeFullInstall},
        {L"setup.exe /RA:", kInstallRemoteAdmin, kModeFullInstall},
        {L"setup.exe /EV:", kInstallJobScopeOnly, kModeJobScopeInstall},
        {L"setup.exe /EV: /RA:", kInstallRemoteAdmin, kModeFullInstall},
        {L"setup.exe /EV: /RA: /TS:", kInstallBackupServer, kModeFullInstall},
    };
    for (const Case& c : cases) {
        ResetSetupState(c.line);
        IsAdmin = false;
        SetupMode = 99;
        DWORD type = 0;
        EXPECT_EQ(ChooseInstallType(nullptr, type), 1) << c.line;
        EXPECT_EQ(type, c.type) << c.line;
        EXPECT_EQ(SetupMode, c.mode) << c.line;
    }
}

void ExpectTexts(HWND dialog)
{
    EXPECT_EQ(WindowText(dialog), L"Tapewright Install");
    EXPECT_EQ(ItemText(dialog, 301), L"&Backup Server");
    EXPECT_EQ(ItemText(dialog, 303), L"&Remote Admin");
    EXPECT_EQ(ItemText(dialog, 302), L"&JobScope Only");
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"Cancel");
    EXPECT_EQ(ItemText(dialog, 304), L"Install all the files for the backup application.");
    EXPECT_EQ(ItemText(dialog, 305), L"Install the files to fully administer remote Backup Servers.");
    EXPECT_EQ(ItemText(dialog, 306), L"Install just the JobScope monitoring application.");
    EXPECT_EQ(ItemText(dialog, 307), L"Quit without installing anything.");
}

TEST(InstallTypeDialog, AdministratorMayChooseEveryType)
{
    SetupProcess setup(L"/L:1");
    HWND dialog = setup.WaitForDialog(kTypeCaption);
    ASSERT_NE(dialog, nullptr);
    ExpectTexts(dialog);
    for (int id : {301, 302, 303, IDCANCEL})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    PressButton(dialog, 303);
    // The install goes on with the destination.
    EXPECT_NE(setup.WaitForDialog(L"Specify Directory"), nullptr);
}

TEST(InstallTypeDialog, StandardUserMayOnlyChooseJobScope)
{
    SetupLaunch standardUser;
    standardUser.withoutAdministrator = true;
    SetupProcess setup(L"/L:1", standardUser);
    HWND dialog = setup.WaitForDialog(kTypeCaption);
    ASSERT_NE(dialog, nullptr);
    ExpectTexts(dialog);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 301)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 303)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 302)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), 302);
    PressButton(dialog, 302);
    EXPECT_NE(setup.WaitForDialog(L"Specify Directory"), nullptr);
}

TEST(InstallTypeDialog, QuitEndsWithoutAQuestion)
{
    SetupProcess setup(L"/L:1");
    HWND dialog = setup.WaitForDialog(kTypeCaption);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(setup.WaitForExit(), 1u);
    EXPECT_EQ(setup.FindDialog(L"Cancel Installation"), nullptr);
}

}  // namespace
