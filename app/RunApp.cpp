#include "app/RunApp.h"

#include "app/CAppModule.h"
#include "app/CMainFrame.h"
#include "app/CMessageLoop.h"
#include "win/ScopedComInit.h"

#include <commctrl.h>

int RunApp()
{
    CMessageLoop loop;
    g_appModule.AttachLoop(&loop);

    int result = kExitFrameFailed;
    {
        CMainFrame frame;
        if (HWND window = frame.StartFrame()) {
            ::ShowWindow(window, SW_HIDE);
            result = loop.RunLoop();
        }
        // Detached before the frame goes, so the table never names a dead loop.
        g_appModule.DetachLoop();
    }
    return result;
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

    g_appModule.Init(instance);
    const int result = RunApp();
    g_appModule.Term();
    return result;
}
