#include "tests/support/DialogCheck.h"

#include "tests/support/TestFiles.h"
#include "win/CWindow.h"
#include "win/ScopedDC.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

constexpr LONG_PTR kModalFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kFontPoints = 9;
constexpr int kPointsPerInch = 72;

RECT ScreenRect(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

std::string Name(const CWindow& control)
{
    const RECT r = ScreenRect(control);
    return std::to_string(::GetDlgCtrlID(control)) + " " + Narrow(control.GetWindowClass()) + " \"" +
           Narrow(control.GetText()) + "\" at " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
           std::to_string(r.right) + "," + std::to_string(r.bottom);
}

// An up-down sits on the edge of the control whose number it steps.
bool IsBuddyOf(const CWindow& upDown, const CWindow& other)
{
    return upDown.GetWindowClass() == UPDOWN_CLASSW && reinterpret_cast<HWND>(upDown.Send(UDM_GETBUDDY)) == other;
}

// The controls in the order the user's Tab key visits them, one round.
std::vector<int> TabOrder(HWND dialog, size_t controlCount)
{
    std::vector<int> order;
    const HWND first = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
    HWND item = first;
    do {
        order.push_back(::GetDlgCtrlID(item));
        item = ::GetNextDlgTabItem(dialog, item, FALSE);
    } while (item != nullptr && item != first && order.size() <= controlCount);
    return order;
}

}  // namespace

void ExpectDialogShows(HWND dialog, const wchar_t* caption, const std::vector<ControlSeen>& controls,
                       const std::vector<int>& tabOrder)
{
    EXPECT_EQ(Narrow(caption), Narrow(CWindow(dialog).GetText()));
    EXPECT_EQ(kModalFrame, ::GetWindowLongPtrW(dialog, GWL_STYLE) & kModalFrame);
    LOGFONTW font = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(Narrow(L"\u5b8b\u4f53"), Narrow(font.lfFaceName));
    const ScopedDC screen(nullptr);
    EXPECT_EQ(-::MulDiv(kFontPoints, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), kPointsPerInch), font.lfHeight);
    EXPECT_TRUE(::SendDlgItemMessageW(dialog, IDOK, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
        << "OK is not the default";
    EXPECT_EQ(tabOrder, TabOrder(dialog, controls.size()));

    RECT client = {};
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<CWindow> seen;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const CWindow control = child;
        ASSERT_LT(seen.size(), controls.size()) << "more controls than expected: " << Name(control);
        const ControlSeen& expected = controls[seen.size()];
        EXPECT_EQ(expected.id, ::GetDlgCtrlID(control)) << Name(control);
        EXPECT_EQ(Narrow(expected.className), Narrow(control.GetWindowClass())) << Name(control);
        if (expected.text != nullptr) {
            EXPECT_EQ(Narrow(expected.text), Narrow(control.GetText())) << Name(control);
        }

        const RECT rect = ScreenRect(control);
        RECT common = {};
        EXPECT_TRUE(::IntersectRect(&common, &rect, &client) && ::EqualRect(&common, &rect))
            << Name(control) << " is not inside the dialog";
        for (const CWindow& other : seen) {
            if (IsBuddyOf(control, other) || IsBuddyOf(other, control)) continue;
            const RECT otherRect = ScreenRect(other);
            EXPECT_FALSE(::IntersectRect(&common, &rect, &otherRect)) << Name(control) << " over " << Name(other);
        }
        seen.push_back(control);
    }
    EXPECT_EQ(controls.size(), seen.size()) << "controls missing";
}
