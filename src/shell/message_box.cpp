#include "shell/message_box.h"

#include "res/resource_ids.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/setup_state.h"

int ShowMessage(TextRef title, TextRef text, UINT buttons, UINT icon)
{
    BankText<256> titleText(title, 254);
    BankText<256> bodyText(text, 254);
    MessageBeep(icon);
    HWND owner = FrameWindow ? GetLastActivePopup(FrameWindow) : nullptr;
    return MessageBoxW(owner, bodyText.c_str(), titleText.c_str(), buttons | icon);
}

int AskUser(TextRef title, TextRef text, UINT buttons, UINT icon, int unattendedAnswer)
{
    if (IsUnattended())
        return unattendedAnswer;
    return ShowMessage(title, text, buttons, icon);
}

bool ConfirmCancel()
{
    UINT text = LangBase + (SetupMode == kModeUninstall ? IDS_CANCEL_UNINSTALL : IDS_CANCEL_INSTALL);
    UINT title = LangBase + IDS_CANCEL_TITLE;
    UINT buttons = MB_YESNO | MB_DEFBUTTON2;
    // Once the user has pressed Cancel, the question is theirs to answer even
    // in an unattended run.
    int answer = CancelPressed ? ShowMessage(title, text, buttons, MB_ICONINFORMATION)
                               : AskUser(title, text, buttons, MB_ICONINFORMATION, IDYES);
    return answer == IDYES;
}

bool CheckCancel()
{
    PumpMessages();
    return AnswerCancelRequest();
}

bool AnswerCancelRequest()
{
    if (CancelRequested && !SequenceDone && !CancelConfirmed) {
        CancelRequested = ConfirmCancel();
        CancelConfirmed = CancelRequested;
    }
    return CancelRequested;
}
