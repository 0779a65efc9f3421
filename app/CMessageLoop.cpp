#include "app/CMessageLoop.h"

int CMessageLoop::RunLoop()
{
    MSG msg = {};
    for (;;) {
        const BOOL got = FetchMessage(&msg);
        // A failed wait leaves no message to handle; the next one may succeed.
        if (got == -1) continue;
        if (!got) return static_cast<int>(msg.wParam);
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

BOOL CMessageLoop::FetchMessage(MSG* message)
{
    return ::GetMessageW(message, nullptr, 0, 0);
}
