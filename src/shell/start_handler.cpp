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

// True when the run did everything it set out to do. A run whose cancel was
// confirmed (the frame closed, the session ending) goes no further, so no
// dialog is ever shown without its owner.
bool RunChosenFlow(HWND frame)
{
    // The maintenance menu is not part of this program yet: in maintenance
    // mode nothing is done, and the run says so.
    if (MaintenanceMode) {
        InstallType = kInstallBackupServer;
        return false;
    }
    if (CancelConfirmed || !ChooseInstallType(frame, InstallType))
        return false;
    return !CancelConfirmed && RunInstall(frame, DestinationPath);
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

    bool completed = false;
    if (languageFixed) {
        SetDefaultDestination();
        completed = RunChosenFlow(frame);
    }
    // A completed install stays up until the user presses the button, which
    // now reads "OK"; an unattended one ends at once.
    if (!completed)
        RequestProgramEnd(kExitNotCompleted);
    else if (IsUnattended())
        RequestProgramEnd(kExitCompleted);

    if (PercentWindow)
        SetFocus(PercentWindow);
    SequenceDone = true;
    return 0;
}
