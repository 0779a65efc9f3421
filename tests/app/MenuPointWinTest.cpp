#include "app/MenuPointWin.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Whole-monitor and work rectangles of every monitor, read independently of
// the function under test.
struct Monitor {
    RECT whole;
    RECT work;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(Monitor{info.rcMonitor, info.rcWork});
    }
    return TRUE;
}

std::vector<Monitor> AllMonitors()
{
    std::vector<Monitor> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

RECT Union(const std::vector<Monitor>& monitors)
{
    RECT all = {};
    for (const Monitor& m : monitors) ::UnionRect(&all, &all, &m.whole);
    return all;
}

// Of the monitors whose rows hold y, the leftmost or the rightmost one, which
// is the nearest to a point beyond every monitor on that side.
const Monitor* OutermostAtRow(const std::vector<Monitor>& monitors, long y, bool left)
{
    const Monitor* outermost = nullptr;
    for (const Monitor& m : monitors) {
        if (y < m.whole.top || y >= m.whole.bottom) continue;
        if (outermost == nullptr ||
            (left ? m.whole.left < outermost->whole.left : m.whole.right > outermost->whole.right)) {
            outermost = &m;
        }
    }
    return outermost;
}

constexpr long kBeyond = 300;

}  // namespace

TEST(MenuPointIntoWorkArea, APointBesideEveryMonitorMovesIntoTheNearestWorkArea)
{
    const std::vector<Monitor> monitors = AllMonitors();
    ASSERT_FALSE(monitors.empty());
    const RECT all = Union(monitors);
    const long y = (monitors[0].whole.top + monitors[0].whole.bottom) / 2;
    for (bool left : {true, false}) {
        const POINT beside = {left ? all.left - kBeyond : all.right + kBeyond, y};
        const Monitor* nearest = OutermostAtRow(monitors, y, left);
        ASSERT_NE(nullptr, nearest);
        const long expected = left ? nearest->work.left : nearest->work.right;

        const POINT moved = MenuPointIntoWorkArea(beside);
        EXPECT_EQ(expected, moved.x) << (left ? "left" : "right") << " of the screen, x " << beside.x;
        EXPECT_EQ(y, moved.y) << (left ? "left" : "right") << " of the screen";
    }
}

TEST(MenuPointIntoWorkArea, APointOnAMonitorIsKept)
{
    const std::vector<Monitor> monitors = AllMonitors();
    ASSERT_FALSE(monitors.empty());
    for (const Monitor& m : monitors) {
        const RECT& r = m.whole;
        for (const POINT on : {POINT{r.left, r.top}, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                               POINT{r.right - 1, r.bottom - 1}}) {
            const POINT kept = MenuPointIntoWorkArea(on);
            EXPECT_EQ(on.x, kept.x) << "point " << on.x << "," << on.y;
            EXPECT_EQ(on.y, kept.y) << "point " << on.x << "," << on.y;
        }
    }
}

TEST(MenuPointIntoWorkArea, YIsNeverChanged)
{
    const std::vector<Monitor> monitors = AllMonitors();
    ASSERT_FALSE(monitors.empty());
    const RECT all = Union(monitors);
    const long middleX = (all.left + all.right) / 2;
    const POINT offScreen[] = {
        {middleX, all.top - kBeyond},
        {middleX, all.bottom + kBeyond},
        {all.left - kBeyond, all.top - kBeyond},
        {all.right + kBeyond, all.bottom + kBeyond},
    };
    for (const POINT off : offScreen) {
        EXPECT_EQ(off.y, MenuPointIntoWorkArea(off).y) << "point " << off.x << "," << off.y;
    }
}
