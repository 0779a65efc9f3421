#pragma once

#include "app/MenuPointWin.h"
#include "app/TipText.h"
#include "win/ResourceInstance.h"
#include "win/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

// The notification-area icon of a window class T, mixed into T. T provides
// GetHandle(). The shell's mouse notifications arrive at T's window as the
// registered "WM_TRAYICON" message, which T hands to OnTrayNotify. The icon
// id is also the id of the menu resource shown on a right click; a left click
// runs that menu's first item as a command.
template <typename T>
class CTrayIconImpl {
public:
    // Every Shell_NotifyIconW call goes through one of these, so a test can
    // stand in for the shell.
    using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    CTrayIconImpl() : callbackMsg(::RegisterWindowMessageW(L"WM_TRAYICON"))
    {
        iconData = {};
        // NIM_SETVERSION is never sent, so the shell keeps to the first form of
        // notification: wParam the id and lParam the mouse message.
        iconData.cbSize = kIconDataSize;
    }

    virtual ~CTrayIconImpl() { RemoveFromTray(); }

    CTrayIconImpl(const CTrayIconImpl&) = delete;
    CTrayIconImpl& operator=(const CTrayIconImpl&) = delete;

    bool AddToTray(const wchar_t* tip, HICON icon, UINT id)
    {
        iconData.hWnd = Frame();
        iconData.uID = id;
        iconData.hIcon = icon;
        iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        iconData.uCallbackMessage = callbackMsg;
        CopyTipText(iconData.szTip, kTipChars, tip);
        if (notify(NIM_ADD, &iconData) != FALSE) {
            added = true;
        } else if (added) {
            // A "TaskbarCreated" that comes while the shell still shows our
            // icon (any program may broadcast it) makes the add fail. The icon
            // is then brought up to date instead and stays ours to delete at exit.
            added = notify(NIM_MODIFY, &iconData) != FALSE;
        }
        return added;
    }

    bool ChangeIcon(HICON icon)
    {
        iconData.uFlags = NIF_ICON;
        iconData.hIcon = icon;
        return notify(NIM_MODIFY, &iconData) != FALSE;
    }

    bool ChangeTip(const wchar_t* tip)
    {
        if (tip == nullptr) return false;
        iconData.uFlags = NIF_TIP;
        CopyTipText(iconData.szTip, kTipChars, tip);
        return notify(NIM_MODIFY, &iconData) != FALSE;
    }

    // Once deleted the icon is no longer ours, so the destructor's own call
    // makes no second NIM_DELETE.
    bool RemoveFromTray()
    {
        if (!added) return false;
        iconData.uFlags = 0;
        if (notify(NIM_DELETE, &iconData) == FALSE) return false;
        added = false;
        return true;
    }

    // Off while T shows a modal window: a click then brings that window forward.
    void AllowMenu(bool allowed) { menuAllowed = allowed; }

    // Blocks the menu for as long as it lives, around a modal window T shows,
    // so that no way out of the window, an exception included, leaves the
    // menu blocked for good.
    class MenuBlock {
    public:
        explicit MenuBlock(CTrayIconImpl& blocked) : tray(blocked) { tray.AllowMenu(false); }
        ~MenuBlock() { tray.AllowMenu(true); }
        MenuBlock(const MenuBlock&) = delete;
        MenuBlock& operator=(const MenuBlock&) = delete;

    private:
        CTrayIconImpl& tray;
    };

    UINT GetCallbackMessage() const { return callbackMsg; }
    bool IsAddedForTesting() const { return added; }
    bool IsMenuAllowedForTesting() const { return menuAllowed; }
    void SetNotifyIconFunctionForTesting(NotifyIconFunction function) { notify = function; }

    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam)
    {
        if (wParam != iconData.uID) return 0;
        const UINT mouse = LOWORD(lParam);
        if (!menuAllowed) {
            if (mouse == WM_LBUTTONUP || mouse == WM_RBUTTONUP) BringModalToFront();
        } else if (mouse == WM_RBUTTONUP) {
            ShowMenu();
        } else if (mouse == WM_LBUTTONUP || mouse == WM_LBUTTONDBLCLK) {
            RunDefaultCommand();
        }
        return 0;
    }

protected:
    // Called with the popup just before it is shown, to adjust its items.
    virtual void CustomizeMenu(HMENU) {}

    UINT callbackMsg;
    NOTIFYICONDATAW iconData;
    bool added = false;
    bool menuAllowed = true;

private:
    static constexpr DWORD kIconDataSize = NOTIFYICONDATAW_V2_SIZE;
    static constexpr int kPopupIndex = 0;
    static constexpr UINT kDefaultItem = 0;

    HWND Frame() const { return static_cast<const T*>(this)->GetHandle(); }

    // The menu resource of the icon's id and its popup, which the menu owns;
    // the popup is null when either is missing.
    struct TrayMenu {
        UniqueMenu menu;
        HMENU popup = nullptr;
    };

    TrayMenu LoadTrayMenu() const
    {
        TrayMenu loaded;
        loaded.menu.Reset(::LoadMenuW(GetResourceInstance(), MAKEINTRESOURCEW(iconData.uID)));
        if (loaded.menu) loaded.popup = ::GetSubMenu(loaded.menu.Get(), kPopupIndex);
        return loaded;
    }

    // The frame's enabled pop-up, which is the modal window, or null. Windows
    // answers the frame itself when it owns none; Wine has no enabled-pop-up
    // query at all, and there the last active pop-up says the same.
    HWND FindModalWindow() const
    {
        HWND frame = Frame();
        HWND modal = ::GetWindow(frame, GW_ENABLEDPOPUP);
        if (modal == nullptr || modal == frame) modal = ::GetLastActivePopup(frame);
        if (modal == nullptr || modal == frame || !::IsWindowEnabled(modal)) return nullptr;
        return modal;
    }

    // The foreground may belong to another thread, so this thread borrows its
    // input state for the switch.
    void BringModalToFront()
    {
        HWND modal = FindModalWindow();
        if (modal == nullptr) return;
        const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
        const DWORD thisThread = ::GetCurrentThreadId();
        ::AttachThreadInput(foregroundThread, thisThread, TRUE);
        ::SetForegroundWindow(modal);
        ::AttachThreadInput(foregroundThread, thisThread, FALSE);
    }

    void ShowMenu()
    {
        const TrayMenu menu = LoadTrayMenu();
        if (menu.popup == nullptr) return;
        HMENU popup = menu.popup;
        CustomizeMenu(popup);

        POINT point = {};
        ::GetCursorPos(&point);
        HWND frame = Frame();
        // Without the foreground the menu would not close on a click elsewhere.
        ::SetForegroundWindow(frame);
        ::SetMenuDefaultItem(popup, kDefaultItem, TRUE);
        point = MenuPointIntoWorkArea(point);
        ::TrackPopupMenu(popup, 0, point.x, point.y, 0, frame, nullptr);
        // Lets the next click on the icon open the menu again at once.
        ::PostMessageW(frame, WM_NULL, 0, 0);
    }

    void RunDefaultCommand()
    {
        HWND frame = Frame();
        ::SetForegroundWindow(frame);
        const TrayMenu menu = LoadTrayMenu();
        if (menu.popup == nullptr) return;
        const UINT command = ::GetMenuItemID(menu.popup, kDefaultItem);
        // A submenu or a missing item has no command to run.
        if (command == static_cast<UINT>(-1)) return;
        ::SendMessageW(frame, WM_COMMAND, command, 0);
    }

    NotifyIconFunction notify = &::Shell_NotifyIconW;
};
