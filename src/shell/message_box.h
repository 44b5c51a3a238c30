#pragma once
// Message boxes: plain, answered by the preset answer when unattended, and
// the question whether to cancel the running sequence.
#include "shell/string_bank.h"

// Shows a box owned by the last active popup of the frame, its buttons labelled
// from the current bank; returns the answer.
int ShowMessage(TextRef title, TextRef text, UINT buttons, UINT icon);

// As ShowMessage, but with "/SMS:" returns `unattendedAnswer` without showing
// anything; the event log gets the box and the answer instead.
int AskUser(TextRef title, TextRef text, UINT buttons, UINT icon, int unattendedAnswer);

// Tells of an unexpected failure with its error code (unattended: shows
// nothing).
void ShowUnexpectedError(DWORD error);

// True when the user confirms that the running sequence is to be cancelled.
bool ConfirmCancel();

// Drains the queue, then AnswerCancelRequest.
bool CheckCancel();

// Asks about a pending cancel request once and returns true while the
// running work must stop. Looks at no queue: loops that drain by time call
// it after each step.
bool AnswerCancelRequest();
