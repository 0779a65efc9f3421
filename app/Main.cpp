#include "app/RunApp.h"

#include <windows.h>

// The command line and the show command are ignored: the frame is never shown.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return RunProcess(instance);
}
