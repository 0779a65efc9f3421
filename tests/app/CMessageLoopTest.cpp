#include "app/CMessageLoop.h"
#include "win/CWindowImpl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kFailedWaitMessage = WM_APP + 9;

// A window that records the messages of the application's range it is handed.
class RecordingWindow : public CWindowImpl {
public:
    RecordingWindow()
    {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = L"LumiLoopTestWindow";
        RegisterWindowClass(wc);
        CreateFromClass(wc.lpszClassName, nullptr, L"", WS_POPUP, 0);
    }

    std::vector<UINT> seen;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg >= WM_APP) seen.push_back(msg);
        return CWindowImpl::HandleMessage(msg, wParam, lParam);
    }
};

// Fails its first wait with -1, leaving behind a message for the window that must never reach it.
class FailingOnceLoop : public CMessageLoop {
public:
    explicit FailingOnceLoop(HWND target) : window(target) {}

protected:
    BOOL FetchMessage(MSG* message) override
    {
        if (failed) return CMessageLoop::FetchMessage(message);
        failed = true;
        *message = {window, kFailedWaitMessage, 0, 0, 0, {}};
        return -1;
    }

private:
    HWND window;
    bool failed = false;
};

}  // namespace

TEST(CMessageLoop, ReturnsTheQuitMessagesWParam)
{
    for (int code : {0, 1, 42, -1}) {
        CMessageLoop loop;
        ::PostQuitMessage(code);
        EXPECT_EQ(code, loop.RunLoop()) << "quit code " << code;
    }
}

TEST(CMessageLoop, SkipsAFailedWaitWithoutHandlingAnything)
{
    RecordingWindow window;
    FailingOnceLoop loop(window.GetHandle());
    ::PostMessageW(window.GetHandle(), WM_APP + 1, 0, 0);
    ::PostQuitMessage(3);
    EXPECT_EQ(3, loop.RunLoop());
    EXPECT_EQ(std::vector<UINT>{WM_APP + 1}, window.seen);
}
