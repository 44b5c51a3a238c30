#include "program/setup_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR, int showCommand)
{
    // Options are looked for in the whole command line, program name included.
    return SetupMain(instance, previousInstance, GetCommandLineW(), showCommand);
}
