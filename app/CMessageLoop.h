#pragma once

#include <windows.h>

#include <vector>

class CIdleHandler;
class CMessageFilter;

// The GUI thread's message loop. Filters are offered each message newest
// first; idle handlers run once whenever the queue empties after a message
// that is not mere mouse movement, painting or caret blinking.
class CMessageLoop {
public:
    CMessageLoop() = default;
    virtual ~CMessageLoop() = default;

    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    void AddFilter(CMessageFilter* filter);
    bool RemoveFilter(CMessageFilter* filter);
    void AddIdle(CIdleHandler* handler);
    bool RemoveIdle(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its wParam.
    int RunLoop();

    // True when a filter consumed the message.
    virtual bool FilterMessage(MSG* msg);
    // Always false: there is never more idle work than one round.
    virtual bool RunIdle(int idleCount);

protected:
    // The loop's only wait for a message, with GetMessageW's result.
    virtual BOOL FetchMessage(MSG* msg);

private:
    static bool RearmsIdle(UINT message);

    std::vector<CMessageFilter*> filters;
    std::vector<CIdleHandler*> idleHandlers;
    MSG msg = {};
};
