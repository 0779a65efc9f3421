#include "app/RunApp.h"

#include "app/CMainFrame.h"
#include "app/CMessageLoop.h"
#include "win/ResourceInstance.h"
#include "win/ScopedComInit.h"

#include <commctrl.h>

int RunApp()
{
    CMessageLoop loop;
    CMainFrame frame;
    HWND window = frame.StartFrame();
    if (window == nullptr) return kExitFrameFailed;
    ::ShowWindow(window, SW_HIDE);
    return loop.RunLoop();
}

int RunProcess(HINSTANCE instance)
{
    const ScopedComInit com;
    // Any window of our class, whoever owns it, means a copy is running. It
    // is left alone, and so is everything here: the process simply ends.
    if (::FindWindowW(kFrameClassName, nullptr) != nullptr) return kExitAnotherCopy;

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    ::InitCommonControlsEx(&controls);

    SetResourceInstance(instance);
    return RunApp();
}
