#include "app/CIdleHandler.h"
#include "app/CMessageFilter.h"
#include "app/CMessageLoop.h"
#include "win/CWindowImpl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kCaretBlink = 0x0118;
constexpr UINT kStepTimer = 1;
constexpr UINT kSafetyTimer = 2;
constexpr UINT kStepDelayMs = 100;
constexpr UINT kSafetyDelayMs = 5000;
constexpr int kTimedOut = -99;

// What happened, in order: "idle", "filter A <msg>", "dispatch <msg>", ...
using Log = std::vector<std::string>;

std::string Hex(UINT value)
{
    char text[16];
    snprintf(text, sizeof(text), "%04X", value);
    return text;
}

std::string Join(const Log& log)
{
    std::string text;
    for (const std::string& entry : log) text += entry + "; ";
    return text;
}

// A window that logs every message the loop dispatches to it.
class LoggingWindow : public CWindowImpl {
public:
    explicit LoggingWindow(Log& sink) : log(sink)
    {
        WNDCLASSEXW wc = {};
        wc.lpszClassName = L"LumiLoopTestWindow";
        RegisterWindowClass(wc);
        CreateFromClass(wc.lpszClassName, nullptr, L"", WS_OVERLAPPEDWINDOW, 0);
        ::SetTimer(GetHandle(), kSafetyTimer, kSafetyDelayMs, nullptr);
    }

    void Post(UINT msg) { ::PostMessageW(GetHandle(), msg, 0, 0); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TIMER) {
            ::KillTimer(GetHandle(), wParam);
            if (wParam == kSafetyTimer) {
                ::PostQuitMessage(kTimedOut);
                return 0;
            }
            log.push_back("timer");
            return 0;
        }
        if (msg >= WM_APP || msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE || msg == WM_PAINT || msg == kCaretBlink) {
            log.push_back("dispatch " + Hex(msg));
        }
        return CWindowImpl::HandleMessage(msg, wParam, lParam);
    }

private:
    Log& log;
};

class LoggingFilter : public CMessageFilter {
public:
    LoggingFilter(Log& sink, std::string valueName, UINT consumesAll = 0)
        : log(sink),
          name(std::move(valueName)),
          consumes(consumesAll)
    {}

    bool FilterMessage(MSG* msg) override
    {
        if (msg->message >= WM_APP) log.push_back("filter " + name + " " + Hex(msg->message));
        return consumes != 0 && msg->message == consumes;
    }

private:
    Log& log;
    std::string name;
    UINT consumes;
};

// Logs each idle round and runs the next step of a script from it.
class ScriptedIdle : public CIdleHandler {
public:
    ScriptedIdle(Log& sink, std::vector<std::function<void()>> script) : log(sink), steps(std::move(script)) {}

    bool OnIdleTime() override
    {
        log.push_back("idle");
        if (round < steps.size()) steps[round++]();
        return true;  // ignored: the loop never asks for a second round
    }

private:
    Log& log;
    std::vector<std::function<void()>> steps;
    size_t round = 0;
};

class CountingIdle : public CIdleHandler {
public:
    bool OnIdleTime() override
    {
        ++rounds;
        return true;
    }
    int rounds = 0;
};

}  // namespace

TEST(CMessageLoop, OffersFiltersNewestFirstAndStopsAtTheFirstTaker)
{
    Log log;
    LoggingWindow window(log);
    LoggingFilter oldest(log, "A"), middle(log, "B", WM_APP + 1), newest(log, "C");
    CMessageLoop loop;
    loop.AddFilter(&oldest);
    loop.AddFilter(&middle);
    loop.AddFilter(&newest);

    window.Post(WM_APP + 1);
    window.Post(WM_APP + 2);
    ::PostQuitMessage(0);
    loop.RunLoop();

    const Log expected = {
        "filter C 8001", "filter B 8001",                                    // consumed by B, never dispatched
        "filter C 8002", "filter B 8002", "filter A 8002", "dispatch 8002",  // nobody takes it
    };
    EXPECT_EQ(expected, log) << Join(log);
}

TEST(CMessageLoop, ReturnsTheQuitMessagesWParam)
{
    for (int code : {0, 1, 42, -1}) {
        CMessageLoop loop;
        ::PostQuitMessage(code);
        EXPECT_EQ(code, loop.RunLoop()) << "quit code " << code;
    }
}

// The queue is empty at the start, so one idle round runs; it posts `msg`
// and arms a timer. Idle must run again after `msg` only when it is a real
// message; the timer's WM_TIMER is always real, and its idle round quits.
TEST(CMessageLoop, RearmsIdleOnlyAfterRealMessages)
{
    struct Case {
        UINT msg;
        bool rearms;
    } const cases[] = {
        {WM_MOUSEMOVE, false}, {WM_NCMOUSEMOVE, false}, {WM_PAINT, false},
        {kCaretBlink, false},  {WM_APP, true},          {WM_APP + 7, true},
    };
    for (const Case& c : cases) {
        Log log;
        LoggingWindow window(log);
        std::vector<std::function<void()>> steps = {[&] {
            window.Post(c.msg);
            ::SetTimer(window.GetHandle(), kStepTimer, kStepDelayMs, nullptr);
        }};
        if (c.rearms) steps.push_back([] {});  // the round after the message itself
        steps.push_back([] { ::PostQuitMessage(0); });
        ScriptedIdle idle(log, steps);
        CMessageLoop loop;
        loop.AddIdle(&idle);
        ASSERT_EQ(0, loop.RunLoop()) << "the loop hung after message " << Hex(c.msg) << ": " << Join(log);

        const std::string dispatched = "dispatch " + Hex(c.msg);
        const Log expected =
            c.rearms ? Log{"idle", dispatched, "idle", "timer", "idle"} : Log{"idle", dispatched, "timer", "idle"};
        EXPECT_EQ(expected, log) << "message " << Hex(c.msg) << ": " << Join(log);
    }
}

TEST(CMessageLoop, RunsEveryIdleHandlerOnceARoundAndSkipsEmptyEntries)
{
    CountingIdle first, second;
    CMessageLoop loop;
    loop.AddIdle(&first);
    loop.AddIdle(nullptr);
    loop.AddIdle(&second);

    EXPECT_FALSE(loop.RunIdle(0));
    EXPECT_EQ(1, first.rounds);
    EXPECT_EQ(1, second.rounds);
}

TEST(CMessageLoop, RemoveTakesOutOnlyTheFirstEqualEntry)
{
    Log log;
    LoggingFilter filter(log, "A");
    CountingIdle idle;
    CMessageLoop loop;
    loop.AddFilter(&filter);
    loop.AddFilter(&filter);
    loop.AddIdle(&idle);
    loop.AddIdle(&idle);

    EXPECT_TRUE(loop.RemoveFilter(&filter));
    EXPECT_TRUE(loop.RemoveIdle(&idle));
    MSG msg = {};
    msg.message = WM_APP;
    loop.FilterMessage(&msg);
    loop.RunIdle(0);
    EXPECT_EQ(Log{"filter A 8000"}, log) << Join(log);
    EXPECT_EQ(1, idle.rounds);

    EXPECT_TRUE(loop.RemoveFilter(&filter));
    EXPECT_FALSE(loop.RemoveFilter(&filter)) << "nothing left to remove";
}

namespace {
// Fails its first wait with -1 and a message that must never be handled.
class FailingOnceLoop : public CMessageLoop {
protected:
    BOOL FetchMessage(MSG* message) override
    {
        if (failed) return CMessageLoop::FetchMessage(message);
        failed = true;
        *message = {};
        message->message = WM_APP + 9;
        return -1;
    }

private:
    bool failed = false;
};
}  // namespace

TEST(CMessageLoop, SkipsAFailedWaitWithoutHandlingAnything)
{
    Log log;
    LoggingWindow window(log);
    LoggingFilter filter(log, "A");
    FailingOnceLoop loop;
    loop.AddFilter(&filter);

    window.Post(WM_APP + 1);
    ::PostQuitMessage(3);
    EXPECT_EQ(3, loop.RunLoop());
    EXPECT_EQ((Log{"filter A 8001", "dispatch 8001"}), log) << Join(log);
}
