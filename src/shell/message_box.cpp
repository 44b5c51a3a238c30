#include "shell/message_box.h"

#include <iterator>

#include "res/resource_ids.h"
#include "shell/dialog_text.h"
#include "shell/event_log.h"
#include "shell/message_loop.h"
#include "shell/options.h"
#include "shell/setup_state.h"

namespace {

// The system labels a box's buttons in its own language; the program gives
// them the captions of the current bank.
struct ButtonCaption {
    int button;
    UINT caption;
};

const ButtonCaption kButtonCaptions[] = {
    {IDOK, IDS_OK}, {IDCANCEL, IDS_CANCEL}, {IDYES, IDS_YES}, {IDNO, IDS_NO}, {IDRETRY, IDS_RETRY},
};

// The caption of the button that gives `answer`.
UINT CaptionOf(int answer)
{
    for (const ButtonCaption& label : kButtonCaptions) {
        if (label.button == answer)
            return label.caption;
    }
    return IDS_OK;
}

bool AwaitingBox;
WNDPROC BoxProc;

// Relabels the buttons before the box's own initialisation, which sizes the
// buttons for their texts where the system does that at run time. The 3D
// look subclasses the box after this procedure: then this one stays in its
// chain, passing everything on, since putting the box's own procedure back
// would drop the look's.
LRESULT CALLBACK RelabellingBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC boxProc = BoxProc;
    if (message == WM_INITDIALOG) {
        for (const ButtonCaption& label : kButtonCaptions)
            SetDialogText(box, label.button, LangBase + label.caption);
        if (GetWindowLongPtrW(box, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(RelabellingBoxProc))
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProc));
    }
    return CallWindowProcW(boxProc, box, message, wParam, lParam);
}

// Installed only around MessageBoxW, so the first dialog that this thread
// creates meanwhile is the box, and no other dialog is ever touched.
LRESULT CALLBACK WatchForBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && AwaitingBox) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16];
        if (GetClassNameW(window, className, 16) && lstrcmpW(className, L"#32770") == 0) {
            AwaitingBox = false;
            BoxProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RelabellingBoxProc)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int ShowMessage(TextRef title, TextRef text, UINT buttons, UINT icon)
{
    BankText<255> titleText(title);
    BankText<255> bodyText(text);
    MessageBeep(icon);
    HWND owner = FrameWindow ? GetLastActivePopup(FrameWindow) : nullptr;
    AwaitingBox = true;
    HHOOK hook = SetWindowsHookExW(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, bodyText.c_str(), titleText.c_str(), buttons | icon);
    if (hook)
        UnhookWindowsHookEx(hook);
    AwaitingBox = false;
    return answer;
}

int AskUser(TextRef title, TextRef text, UINT buttons, UINT icon, int unattendedAnswer)
{
    if (IsUnattended()) {
        ReportUnattendedAnswer(title, text, icon, CaptionOf(unattendedAnswer));
        return unattendedAnswer;
    }
    return ShowMessage(title, text, buttons, icon);
}

void ShowUnexpectedError(DWORD error)
{
    wchar_t text[1025];
    FormatBankString(text, std::size(text), LangBase + IDS_UNEXPECTED_TEXT, error);
    AskUser(LangBase + IDS_UNEXPECTED_TITLE, text, MB_OK, MB_ICONSTOP, IDOK);
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
