#include "shell/progress.h"

void CenterOnParent(HWND dialog)
{
    RECT box;
    RECT parent;
    GetWindowRect(dialog, &box);
    GetWindowRect(GetParent(dialog), &parent);
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    SetWindowPos(dialog, nullptr, (parent.right - width) / 2, (parent.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
