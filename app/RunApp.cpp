#include "app/RunApp.h"

#include "app/CMainFrame.h"
#include "app/CMessageLoop.h"
#include "win/ResourceInstance.h"
#include "win/ScopedComInit.h"
#include "win/UniqueHandle.h"

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
    // Of copies started in the same moment only the one that makes the mutex
    // runs: the window test alone races, as the frame comes a while after the
    // test. The mutex is never released early; it goes with the process.
    const UniqueKernelHandle running(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (!running || ::GetLastError() == ERROR_ALREADY_EXISTS) return kExitAnotherCopy;
    const ScopedComInit com;
    // A copy of an earlier version holds no mutex, only its window; any
    // window of our class, whoever owns it, counts. The running copy is left
    // alone, and so is everything here: the process simply ends.
    if (::FindWindowW(kFrameClassName, nullptr) != nullptr) return kExitAnotherCopy;

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    ::InitCommonControlsEx(&controls);

    SetResourceInstance(instance);
    return RunApp();
}
