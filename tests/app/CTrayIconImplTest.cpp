#include "app/CTrayIconImpl.h"
#include "resources/resource.h"
#include "tests/app/NotifyRecorder.h"
#include "win/CWindowImpl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kIconId = IDR_TRAYMENU;
constexpr UINT_PTR kEndMenuTimer = 7;
constexpr UINT kEndMenuDelayMs = 50;

// What the shown popup looked like, read while it was open.
struct MenuSeen {
    int itemCount = -1;
    UINT defaultItem = static_cast<UINT>(-1);
    UINT firstId = 0;
    std::wstring firstText;
};

// A hidden window with the tray part mixed in, logging what the part does to it.
class TrayHost : public CWindowImpl, public CTrayIconImpl<TrayHost> {
public:
    TrayHost()
    {
        SetNotifyIconFunctionForTesting(&NotifyRecorder::Notify);
        WNDCLASSEXW wc = {};
        wc.lpszClassName = L"LumiTrayTestWindow";
        RegisterWindowClass(wc);
        CreateFromClass(wc.lpszClassName, nullptr, L"", WS_OVERLAPPEDWINDOW, 0);
    }

    LRESULT Notify(UINT mouse, WPARAM id = kIconId)
    {
        return ::SendMessageW(GetHandle(), GetCallbackMessage(), id, MAKELPARAM(mouse, 0));
    }

    void CustomizeMenu(HMENU popup) override
    {
        ++customized;
        shownPopup = popup;
        // The popup's own loop dispatches timers; this one reads it and closes it.
        ::SetTimer(GetHandle(), kEndMenuTimer, kEndMenuDelayMs, nullptr);
    }

    std::vector<WPARAM> commands;
    int customized = 0;
    int menusShown = 0;
    MenuSeen seen;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == GetCallbackMessage()) return OnTrayNotify(wParam, lParam);
        switch (msg) {
        case WM_COMMAND:
            commands.push_back(wParam);
            return 0;
        case WM_INITMENUPOPUP:
            ++menusShown;
            break;
        case WM_TIMER:
            if (wParam == kEndMenuTimer) {
                ::KillTimer(GetHandle(), kEndMenuTimer);
                ReadMenu();
                ::EndMenu();
                return 0;
            }
            break;
        }
        return CWindowImpl::HandleMessage(msg, wParam, lParam);
    }

private:
    void ReadMenu()
    {
        seen.itemCount = ::GetMenuItemCount(shownPopup);
        seen.defaultItem = ::GetMenuDefaultItem(shownPopup, TRUE, 0);
        seen.firstId = ::GetMenuItemID(shownPopup, 0);
        wchar_t text[64] = {};
        ::GetMenuStringW(shownPopup, 0, text, 64, MF_BYPOSITION);
        seen.firstText = text;
    }

    HMENU shownPopup = nullptr;
};

HICON SomeIcon()
{
    return ::LoadIconW(nullptr, IDI_APPLICATION);
}

bool RemoveWmNull(HWND window)
{
    MSG msg;
    return ::PeekMessageW(&msg, window, WM_NULL, WM_NULL, PM_REMOVE) != FALSE;
}

}  // namespace

TEST(CTrayIconImpl, AddSendsTheWholeRecord)
{
    NotifyRecorder shell;
    TrayHost host;
    EXPECT_TRUE(host.AddToTray(L"Lumivane", SomeIcon(), kIconId));

    ASSERT_EQ(1u, shell.Calls().size());
    const NotifyCall& call = shell.Calls()[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), call.message) << NotifyName(call.message);
    // The record up to its balloon fields: 936 bytes in the 32-bit program, wider with 64-bit handles.
    EXPECT_EQ(sizeof(void*) == sizeof(DWORD) ? 936u : static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE), call.data.cbSize);
    EXPECT_EQ(host.GetHandle(), call.data.hWnd);
    EXPECT_EQ(kIconId, call.data.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), call.data.uFlags);
    EXPECT_EQ(host.GetCallbackMessage(), call.data.uCallbackMessage);
    EXPECT_EQ(::RegisterWindowMessageW(L"WM_TRAYICON"), call.data.uCallbackMessage);
    EXPECT_EQ(SomeIcon(), call.data.hIcon);
    EXPECT_EQ(std::wstring(L"Lumivane"), call.data.szTip);
    EXPECT_TRUE(host.IsAddedForTesting());
}

// Where a tip is cut is CopyTipText's own table; here both ways in go through it.
TEST(CTrayIconImpl, TipIsCutTo127CharactersWhenAddedAndChanged)
{
    NotifyRecorder shell;
    TrayHost host;
    const std::wstring text(200, L'x');
    host.AddToTray(text.c_str(), SomeIcon(), kIconId);
    host.ChangeTip(text.c_str());

    ASSERT_EQ(2u, shell.Calls().size());
    for (const NotifyCall& call : shell.Calls()) {
        EXPECT_EQ(text.substr(0, 127), std::wstring(call.data.szTip)) << NotifyName(call.message);
    }
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), shell.Calls()[1].data.uFlags);
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), shell.Calls()[1].message);
}

TEST(CTrayIconImpl, ChangeIconModifiesOnlyTheIcon)
{
    NotifyRecorder shell;
    TrayHost host;
    host.AddToTray(L"tip", nullptr, kIconId);
    HICON icon = ::LoadIconW(nullptr, IDI_WARNING);
    EXPECT_TRUE(host.ChangeIcon(icon));

    ASSERT_EQ(2u, shell.Calls().size());
    const NotifyCall& call = shell.Calls()[1];
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), call.message) << NotifyName(call.message);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), call.data.uFlags);
    EXPECT_EQ(icon, call.data.hIcon);
    EXPECT_EQ(kIconId, call.data.uID);
}

TEST(CTrayIconImpl, NullTipChangesNothing)
{
    NotifyRecorder shell;
    TrayHost host;
    host.AddToTray(L"tip", nullptr, kIconId);
    EXPECT_FALSE(host.ChangeTip(nullptr));
    EXPECT_EQ(1u, shell.Calls().size());
}

TEST(CTrayIconImpl, AddReportsWhetherTheIconIsShown)
{
    struct Case {
        const char* name;
        BOOL firstAdd, laterAdd, update;
        std::vector<DWORD> messages;
        bool shown;
    } const cases[] = {
        {"first add refused", FALSE, FALSE, TRUE, {NIM_ADD, NIM_ADD}, false},
        {"shown, add again refused, update taken", TRUE, FALSE, TRUE, {NIM_ADD, NIM_ADD, NIM_MODIFY}, true},
        {"shown, add again and update refused", TRUE, FALSE, FALSE, {NIM_ADD, NIM_ADD, NIM_MODIFY}, false},
    };
    for (const Case& c : cases) {
        NotifyRecorder shell;
        TrayHost host;
        shell.SetResultFor(NIM_MODIFY, c.update);
        shell.SetResultFor(NIM_ADD, c.firstAdd);
        EXPECT_EQ(c.firstAdd != FALSE, host.AddToTray(L"tip", SomeIcon(), kIconId)) << c.name;
        shell.SetResultFor(NIM_ADD, c.laterAdd);
        EXPECT_EQ(c.shown, host.AddToTray(L"tip", SomeIcon(), kIconId)) << c.name;
        EXPECT_EQ(c.shown, host.IsAddedForTesting()) << c.name;

        std::vector<DWORD> messages;
        for (const NotifyCall& call : shell.Calls()) messages.push_back(call.message);
        EXPECT_EQ(c.messages, messages) << c.name;
    }
}

TEST(CTrayIconImpl, LeftReleaseAndDoubleClickRunTheFirstMenuItem)
{
    struct Case {
        UINT mouse;
        size_t commands;
    } const cases[] = {
        {WM_LBUTTONUP, 1},   {WM_LBUTTONDBLCLK, 1}, {WM_LBUTTONDOWN, 0}, {WM_MOUSEMOVE, 0},
        {WM_RBUTTONDOWN, 0}, {WM_RBUTTONDBLCLK, 0}, {WM_MBUTTONUP, 0},
    };
    for (const Case& c : cases) {
        NotifyRecorder shell;
        TrayHost host;
        host.AddToTray(L"tip", nullptr, kIconId);
        EXPECT_EQ(0, host.Notify(c.mouse));

        ASSERT_EQ(c.commands, host.commands.size()) << "mouse message " << c.mouse;
        if (c.commands) {
            EXPECT_EQ(static_cast<WPARAM>(ID_NEXT_PICTURE), host.commands[0]) << "mouse " << c.mouse;
        }
        EXPECT_EQ(0, host.menusShown) << "mouse message " << c.mouse;
        EXPECT_EQ(0, host.customized) << "mouse message " << c.mouse;
    }
}

TEST(CTrayIconImpl, NotificationsForAnotherIdAreIgnored)
{
    for (UINT mouse : {WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK}) {
        NotifyRecorder shell;
        TrayHost host;
        host.AddToTray(L"tip", nullptr, kIconId);
        host.Notify(mouse, kIconId + 1);
        EXPECT_TRUE(host.commands.empty()) << "mouse " << mouse;
        EXPECT_EQ(0, host.menusShown) << "mouse " << mouse;
    }
}

TEST(CTrayIconImpl, RightReleaseShowsTheTrayMenuWithItsDefaultItem)
{
    NotifyRecorder shell;
    TrayHost host;
    host.AddToTray(L"tip", nullptr, kIconId);
    while (RemoveWmNull(host.GetHandle())) {
    }
    host.Notify(WM_RBUTTONUP);

    EXPECT_EQ(1, host.customized);
    EXPECT_EQ(1, host.menusShown);
    EXPECT_EQ(13, host.seen.itemCount);
    EXPECT_EQ(0u, host.seen.defaultItem);
    EXPECT_EQ(static_cast<UINT>(ID_NEXT_PICTURE), host.seen.firstId);
    EXPECT_EQ(std::wstring(L"\u4e0b\u4e00\u5f20(&N)"), host.seen.firstText);
    EXPECT_TRUE(host.commands.empty()) << "a dismissed menu sent command " << host.commands[0];
    EXPECT_TRUE(RemoveWmNull(host.GetHandle())) << "no WM_NULL after the menu";
}

namespace {
// A visible top-level window of its own, STATIC class.
struct PlainWindow {
    PlainWindow(const wchar_t* caption, DWORD style, HWND owner)
        : window(::CreateWindowExW(0, L"STATIC", caption, style | WS_VISIBLE, 0, 0, 100, 100, owner, nullptr, nullptr,
                                   nullptr))
    {}
    ~PlainWindow() { ::DestroyWindow(window); }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    HWND window;
};
}  // namespace

// As while a modal dialog runs: the frame is disabled, the dialog it owns
// was active, and then the user went to another program.
TEST(CTrayIconImpl, BlockedMenuBringsTheModalWindowForwardOnReleasesOnly)
{
    struct Case {
        UINT mouse;
        bool brings;
    } const cases[] = {
        {WM_RBUTTONUP, true},    {WM_LBUTTONUP, true},    {WM_LBUTTONDBLCLK, false},
        {WM_RBUTTONDOWN, false}, {WM_LBUTTONDOWN, false}, {WM_MOUSEMOVE, false},
    };
    for (const Case& c : cases) {
        NotifyRecorder shell;
        TrayHost host;
        host.AddToTray(L"tip", nullptr, kIconId);
        PlainWindow modal(L"modal", WS_POPUP | WS_CAPTION, host.GetHandle());
        ::EnableWindow(host.GetHandle(), FALSE);
        ::SetForegroundWindow(modal.window);
        PlainWindow elsewhere(L"elsewhere", WS_OVERLAPPEDWINDOW, nullptr);
        ::SetForegroundWindow(elsewhere.window);
        ASSERT_EQ(elsewhere.window, ::GetForegroundWindow());
        host.AllowMenu(false);

        host.Notify(c.mouse);

        EXPECT_EQ(c.brings ? modal.window : elsewhere.window, ::GetForegroundWindow()) << "mouse " << c.mouse;
        EXPECT_TRUE(host.commands.empty()) << "mouse " << c.mouse;
        EXPECT_EQ(0, host.menusShown) << "mouse " << c.mouse;
        EXPECT_EQ(0, host.customized) << "mouse " << c.mouse;
    }
}

TEST(CTrayIconImpl, BlockedMenuWithoutAModalWindowDoesNothing)
{
    NotifyRecorder shell;
    TrayHost host;
    host.AddToTray(L"tip", nullptr, kIconId);
    host.AllowMenu(false);
    for (UINT mouse : {WM_RBUTTONUP, WM_LBUTTONUP}) {
        host.Notify(mouse);
        EXPECT_TRUE(host.commands.empty()) << "mouse " << mouse;
        EXPECT_EQ(0, host.menusShown) << "mouse " << mouse;
    }
    host.AllowMenu(true);
    host.Notify(WM_LBUTTONUP);
    EXPECT_EQ(1u, host.commands.size()) << "allowing the menu again did not restore the click";
}
