#include "win/CenterDialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

// CenterDialog on real windows: the owner decides where the dialog goes,
// the work area of the monitor keeps it in.

namespace {

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

RECT WorkAreaOf(HWND hwnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

RECT WindowRect(HWND hwnd)
{
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    return r;
}

// Centre of a rectangle, doubled so that odd sizes need no rounding.
POINT DoubleCentre(const RECT& r)
{
    return {r.left + r.right, r.top + r.bottom};
}

HWND MakePopup(HWND owner, int x, int y, int width, int height)
{
    return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_CAPTION, x, y, width, height, owner, nullptr, nullptr,
                             nullptr);
}

}  // namespace

// Keeping the dialog inside the work area is the arithmetic's own test; here
// the owner, found or handed in, and the monitor come from real windows.
TEST(CenterDialog, OwnerDecidesWhereTheDialogGoes)
{
    struct Case {
        const char* name;
        int showOwner;
        bool handedIn;  // passed as `over` rather than owning the dialog
        bool overOwner;
    } const cases[] = {
        {"visible owner", SW_SHOWNOACTIVATE, false, true},
        {"hidden owner", SW_HIDE, false, false},
        {"minimized owner", SW_SHOWMINNOACTIVE, false, false},
        {"visible window handed in", SW_SHOWNOACTIVATE, true, true},
    };
    for (const Case& c : cases) {
        HWND owner = MakePopup(nullptr, 100, 80, 500, 400);
        ::ShowWindow(owner, c.showOwner);
        HWND dialog = MakePopup(c.handedIn ? nullptr : owner, 0, 0, 200, 100);
        CenterDialog(dialog, c.handedIn ? owner : nullptr);

        const RECT target = c.overOwner ? WindowRect(owner) : WorkAreaOf(dialog);
        const POINT want = DoubleCentre(target);
        const POINT got = DoubleCentre(WindowRect(dialog));
        EXPECT_LE(std::abs(want.x - got.x), 1)
            << c.name << ": dialog " << Show(WindowRect(dialog)) << " over " << Show(target);
        EXPECT_LE(std::abs(want.y - got.y), 1)
            << c.name << ": dialog " << Show(WindowRect(dialog)) << " over " << Show(target);
        ::DestroyWindow(dialog);
        ::DestroyWindow(owner);
    }
}
