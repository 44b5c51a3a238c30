// winwait CAPTION [SECONDS]: waits until a visible top-level window with that
// caption exists, then lets it settle briefly so it has painted. Exit code 0
// when it appeared, 1 when it did not in time. Scripts use it to know when a
// screen is ready to be photographed.
#include <windows.h>

#include <wchar.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    int seconds = argc > 2 ? _wtoi(argv[2]) : 30;
    for (int waited = 0; waited < seconds * 10; ++waited) {
        HWND window = FindWindowW(nullptr, argv[1]);
        if (window && IsWindowVisible(window)) {
            Sleep(1000);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
