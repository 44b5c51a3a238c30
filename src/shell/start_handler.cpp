#include "shell/start_handler.h"

#include "flow/install_sequence.h"
#include "flow/install_type.h"
#include "res/resource_ids.h"
#include "shell/language.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/path_text.h"
#include "shell/setup_state.h"
#include "shell/string_bank.h"

namespace {

// The Windows directory's drive followed by "\TAPWRITE\NT".
void SetDefaultDestination()
{
    wchar_t windows[255];
    UINT length = GetWindowsDirectoryW(windows, 255);
    if (length == 0 || length >= 255)
        windows[0] = 0;
    wchar_t* backslash = wcschr(windows, L'\\');
    if (backslash)
        *backslash = 0;
    wchar_t tail[255];
    LoadBankString(LangBase + IDS_DEFAULT_DIRECTORY, tail, 254);
    JoinPath(DestinationPath, kPathChars, windows, tail);
}

// The maintenance menu is not part of this program yet: in maintenance mode
// the run ends once the language is fixed.
void RunChosenFlow(HWND frame)
{
    if (MaintenanceMode) {
        InstallType = kInstallBackupServer;
        RequestProgramEnd(0);
        return;
    }
    if (!ChooseInstallType(frame, InstallType)) {
        RequestProgramEnd(0);
        return;
    }
    // A successful install stays up until the user presses the button, which
    // now reads "OK"; an unattended one ends at once.
    if (!RunInstall(frame, DestinationPath) || IsUnattended())
        RequestProgramEnd(0);
}

}  // namespace

LRESULT RunStartHandler(HWND frame)
{
    PumpMessages();
    bool languageFixed = true;
    if (LanguageGiven)
        SetLanguage(LangBase);
    else
        languageFixed = ChooseLanguage(frame);

    if (languageFixed) {
        SetDefaultDestination();
        RunChosenFlow(frame);
    }

    if (PercentWindow)
        SetFocus(PercentWindow);
    SequenceDone = true;
    return 0;
}
