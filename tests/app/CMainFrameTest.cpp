#include "app/CAppModule.h"
#include "app/CMainFrame.h"
#include "app/CMessageLoop.h"
#include "app/RunApp.h"
#include "resources/resource.h"
#include "tests/app/NotifyRecorder.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <optional>
#include <string>

namespace {

// A frame on this thread's loop, talking to a recorder instead of the shell.
struct FrameFixture : ::testing::Test {
    FrameFixture()
    {
        g_appModule.AttachLoop(&loop);
        frame.SetNotifyIconFunction(&NotifyRecorder::Notify);
    }
    ~FrameFixture() override { g_appModule.DetachLoop(); }

    NotifyRecorder shell;
    CMessageLoop loop;
    CMainFrame frame;
};

// The same, with a frame object the test can end before the fixture does.
struct EndingFrameFixture : ::testing::Test {
    EndingFrameFixture()
    {
        g_appModule.AttachLoop(&loop);
        frame.emplace();
        frame->SetNotifyIconFunction(&NotifyRecorder::Notify);
    }
    ~EndingFrameFixture() override
    {
        frame.reset();
        g_appModule.DetachLoop();
    }

    NotifyRecorder shell;
    CMessageLoop loop;
    std::optional<CMainFrame> frame;
};


}  // namespace

using CMainFrameTest = FrameFixture;

TEST_F(CMainFrameTest, StartsAHiddenWindowOfTheProgramsClass)
{
    HWND window = frame.StartFrame();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(L"lumivane", ClassNameOf(window));
    EXPECT_EQ(L"Lumivane", WindowTextOf(window));
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(0x06CF0000u, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_EQ(0x00040100u, exStyle & 0x00040100u) << std::hex << exStyle;
    EXPECT_EQ(nullptr, ::GetParent(window));
    EXPECT_EQ(nullptr, ::GetMenu(window));
}

TEST_F(CMainFrameTest, ClassCarriesALargeAndASmallIcon)
{
    HWND window = frame.StartFrame();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0u, static_cast<UINT>(::GetClassLongPtrW(window, GCL_STYLE)));
    for (int index : {GCLP_HICON, GCLP_HICONSM}) {
        EXPECT_NE(0u, ::GetClassLongPtrW(window, index)) << "no class icon at index " << index;
    }
}

TEST_F(CMainFrameTest, CreationPutsTheIconInTheTray)
{
    ASSERT_NE(nullptr, frame.StartFrame());
    ASSERT_EQ(1u, shell.Calls().size());
    const NotifyCall& add = shell.Calls()[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.message) << NotifyName(add.message);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYMENU), add.data.uID);
    EXPECT_NE(nullptr, add.data.hIcon) << "no state icon";
    EXPECT_EQ(std::wstring(L"Lumivane"), add.data.szTip);
}

TEST_F(CMainFrameTest, TaskbarCreatedAddsTheIconAgain)
{
    HWND window = frame.StartFrame();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));

    ASSERT_EQ(2u, shell.Calls().size());
    const NotifyCall& again = shell.Calls()[1];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), again.message) << NotifyName(again.message);
    EXPECT_EQ(shell.Calls()[0].data.hIcon, again.data.hIcon);
    EXPECT_EQ(std::wstring(shell.Calls()[0].data.szTip), again.data.szTip);
}

using CMainFrameLife = EndingFrameFixture;

TEST_F(CMainFrameLife, AFailedAddKeepsTheFrameRunningWithNothingToRemove)
{
    shell.SetResult(FALSE);
    HWND window = frame->StartFrame();
    ASSERT_NE(nullptr, window) << "the frame gave up without a tray";
    EXPECT_FALSE(frame->IsAdded());
    EXPECT_FALSE(frame->RemoveFromTray());
    frame.reset();
    ASSERT_EQ(1u, shell.Calls().size()) << "a shell call after the failed add: "
                                        << NotifyName(shell.Calls().back().message);
}

// As when another program broadcasts "TaskbarCreated" while the shell still
// shows the icon: the shell refuses the second add.
TEST_F(CMainFrameLife, TaskbarCreatedOverTheShownIconUpdatesItAndItIsStillDeletedAtTheEnd)
{
    HWND window = frame->StartFrame();
    ASSERT_NE(nullptr, window);
    shell.SetResultFor(NIM_ADD, FALSE);
    EXPECT_EQ(0, ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));

    ASSERT_EQ(3u, shell.Calls().size());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), shell.Calls()[1].message) << NotifyName(shell.Calls()[1].message);
    const NOTIFYICONDATAW& added = shell.Calls()[0].data;
    const NotifyCall& update = shell.Calls()[2];
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), update.message) << NotifyName(update.message);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), update.data.uFlags);
    EXPECT_EQ(added.hWnd, update.data.hWnd);
    EXPECT_EQ(added.uID, update.data.uID);
    EXPECT_EQ(added.uCallbackMessage, update.data.uCallbackMessage);
    EXPECT_EQ(added.hIcon, update.data.hIcon);
    EXPECT_EQ(std::wstring(added.szTip), update.data.szTip);
    EXPECT_TRUE(frame->IsAdded()) << "the shown icon was given up";

    frame.reset();
    ASSERT_EQ(4u, shell.Calls().size()) << "no call at the end";
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), shell.Calls()[3].message) << NotifyName(shell.Calls()[3].message);
    EXPECT_EQ(window, shell.Calls()[3].data.hWnd);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYMENU), shell.Calls()[3].data.uID);
}

TEST(CMainFrameEnd, ExitAndOutsideCloseEndTheLoopWithOneAndThenDeleteTheIcon)
{
    struct Case {
        const char* name;
        UINT msg;
        WPARAM wParam;
    } const cases[] = {
        {"exit command", WM_COMMAND, ID_APP_EXIT},
        {"WM_CLOSE", WM_CLOSE, 0},
    };
    for (const Case& c : cases) {
        NotifyRecorder shell;
        HWND window = nullptr;
        int result = -1;
        {
            CMessageLoop loop;
            g_appModule.AttachLoop(&loop);
            CMainFrame frame;
            frame.SetNotifyIconFunction(&NotifyRecorder::Notify);
            window = frame.StartFrame();
            ASSERT_NE(nullptr, window) << c.name;
            ::PostMessageW(window, c.msg, c.wParam, 0);
            result = loop.RunLoop();
            EXPECT_FALSE(::IsWindow(window)) << c.name;
            EXPECT_EQ(1u, shell.Calls().size()) << c.name << ": the icon went before the frame object";
            g_appModule.DetachLoop();
        }
        EXPECT_EQ(1, result) << c.name;
        ASSERT_EQ(2u, shell.Calls().size()) << c.name;
        const NotifyCall& last = shell.Calls()[1];
        EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), last.message) << c.name << ": " << NotifyName(last.message);
        EXPECT_EQ(0u, last.data.uFlags) << c.name;
        EXPECT_EQ(window, last.data.hWnd) << c.name;
        EXPECT_EQ(static_cast<UINT>(IDR_TRAYMENU), last.data.uID) << c.name;
    }
}

namespace {
LRESULT CALLBACK RefuseCreation(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) return FALSE;
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

// Puts a class named "lumivane" in place whose windows can never be created.
struct BlockedFrameClass {
    BlockedFrameClass()
    {
        ::UnregisterClassW(kFrameClassName, ::GetModuleHandleW(nullptr));
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &RefuseCreation;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kFrameClassName;
        registered = ::RegisterClassExW(&wc) != 0;
    }
    ~BlockedFrameClass() { ::UnregisterClassW(kFrameClassName, ::GetModuleHandleW(nullptr)); }
    bool registered;
};
}  // namespace

TEST(RunApp, ReturnsZeroWithoutRunningTheLoopWhenTheFrameCannotBeCreated)
{
    BlockedFrameClass blocked;
    ASSERT_TRUE(blocked.registered);
    // A quit message the loop would take at once, if it ran.
    ::PostQuitMessage(1);
    EXPECT_EQ(0, RunApp());
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop ran";
    EXPECT_EQ(nullptr, g_appModule.LoopForThread(::GetCurrentThreadId())) << "the loop was left attached";
}

TEST_F(CMainFrameTest, ASecondCopyEndsAtOnceWithOneAndLeavesTheFirstAlone)
{
    HWND first = frame.StartFrame();
    ASSERT_NE(nullptr, first);
    const size_t callsBefore = shell.Calls().size();

    // Were the copy not refused, its loop would take this at once and end
    // with the code, instead of running on for ever.
    constexpr int kLoopRan = 7;
    ::PostQuitMessage(kLoopRan);
    EXPECT_EQ(1, RunProcess(::GetModuleHandleW(nullptr)));
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a loop ran";

    EXPECT_TRUE(::IsWindow(first));
    EXPECT_EQ(callsBefore, shell.Calls().size()) << "the second start touched the tray";
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, first, 0, 0, PM_NOREMOVE)) << "the first frame got message " << msg.message;
}
