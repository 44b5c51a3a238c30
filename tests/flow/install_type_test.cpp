// The install-type choice: options that skip the dialog, and the dialog
// itself for an administrator and for a user without administrator rights.
#include <gtest/gtest.h>

#include "flow/install_type.h"
#include "res/resource_ids.h"
#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/setup_process.h"

namespace {

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

TEST(InstallTypeDialog, OnlyAnAdministratorMayChooseTheServerTypes)
{
    ResetSetupState();
    const std::pair<int, UINT> texts[] = {
        {IDC_TYPE_BACKUP, IDS_TYPE_BACKUP},           {IDC_TYPE_REMOTE, IDS_TYPE_REMOTE},
        {IDC_TYPE_JOBSCOPE, IDS_TYPE_JOBSCOPE},       {IDCANCEL, IDS_CANCEL},
        {IDC_TYPE_BACKUP_TEXT, IDS_TYPE_BACKUP_TEXT}, {IDC_TYPE_REMOTE_TEXT, IDS_TYPE_REMOTE_TEXT},
        {IDC_TYPE_JOBSCOPE_TEXT, IDS_TYPE_JOBSCOPE_TEXT}, {IDC_TYPE_QUIT_TEXT, IDS_TYPE_QUIT_TEXT},
    };
    for (bool administrator : {true, false}) {
        SCOPED_TRACE(administrator ? "administrator" : "standard user");
        SetupLaunch launch;
        launch.withoutAdministrator = !administrator;
        SetupProcess setup(L"/L:1", launch);
        HWND dialog = setup.WaitForDialog(L"Tapewright Install");
        ASSERT_NE(dialog, nullptr);
        for (auto [control, text] : texts)
            EXPECT_EQ(ItemText(dialog, control), BankString(1000 + text)) << control;
        for (int id : {IDC_TYPE_BACKUP, IDC_TYPE_REMOTE})
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE, administrator) << id;
        for (int id : {IDC_TYPE_JOBSCOPE, IDCANCEL})
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
        EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), administrator ? IDC_TYPE_BACKUP : IDC_TYPE_JOBSCOPE);
        // The install goes on with the destination.
        PressButton(dialog, administrator ? IDC_TYPE_REMOTE : IDC_TYPE_JOBSCOPE);
        EXPECT_NE(setup.WaitForDialog(L"Specify Directory"), nullptr);
    }
}

}  // namespace
