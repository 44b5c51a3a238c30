// winwait CAPTION [SECONDS] [--press ID] [--rect] [--close]
//
// Waits until a visible top-level window with that caption exists (caption
// "*": any dialog), then lets it settle briefly so it has painted; with
// --rect, prints its place on the screen as WIDTHxHEIGHT+X+Y; with --press,
// presses the window's button ID (a dialog button, or a message box answer
// such as 7 for No); with --close, asks the window to close, as its close
// box would.
// Exit code 0 when the window appeared, 1 when it did not in time. Scripts
// use it to know when a screen is ready to be photographed, and to answer it.
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    int seconds = argc > 2 ? _wtoi(argv[2]) : 30;
    int press = 0;
    bool rect = false;
    bool close = false;
    for (int i = 3; i < argc; ++i) {
        if (wcscmp(argv[i], L"--press") == 0 && i + 1 < argc)
            press = _wtoi(argv[i + 1]);
        rect = rect || wcscmp(argv[i], L"--rect") == 0;
        close = close || wcscmp(argv[i], L"--close") == 0;
    }
    const bool anyDialog = wcscmp(argv[1], L"*") == 0;

    for (int waited = 0; waited < seconds * 10; ++waited) {
        HWND window = anyDialog ? FindWindowW(L"#32770", nullptr) : FindWindowW(nullptr, argv[1]);
        if (window && IsWindowVisible(window)) {
            Sleep(1000);
            if (rect) {
                RECT r;
                GetWindowRect(window, &r);
                wprintf(L"%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
                fflush(stdout);
            }
            if (press) {
                HWND button = GetDlgItem(window, press);
                if (button)
                    PostMessageW(button, BM_CLICK, 0, 0);
                else
                    PostMessageW(window, WM_COMMAND, press, 0);
            }
            if (close)
                PostMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
