#pragma once

#include <windows.h>

// The GUI thread's message loop.
class CMessageLoop {
public:
    CMessageLoop() = default;
    virtual ~CMessageLoop() = default;

    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    // Runs until WM_QUIT and returns its wParam.
    int RunLoop();

protected:
    // The loop's only wait for a message, with GetMessageW's result.
    virtual BOOL FetchMessage(MSG* msg);
};
