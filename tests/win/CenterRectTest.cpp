#include "win/CenterRect.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Show(const CenterPoint& p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

constexpr CenterRect kWorkArea = {0, 0, 1024, 738};  // a 1024x768 screen with a 30-pixel taskbar
constexpr CenterRect kDialog = {0, 0, 340, 180};

}  // namespace

TEST(CenterPosition, PlacesTheDialogAsTheOwnerAllows)
{
    const CenterOwner visible = {{100, 100, 500, 400}, true, false};
    const CenterOwner hidden = {{100, 100, 500, 400}, false, false};
    const CenterOwner minimized = {{-32000, -32000, -31840, -31970}, true, true};
    const CenterOwner nearEdge = {{900, 600, 1100, 760}, true, false};
    struct Case {
        const char* name;
        const CenterOwner* owner;
        CenterPoint expected;
    } const cases[] = {
        {"visible owner: over it", &visible, {130, 160}},
        {"hidden owner: work area", &hidden, {342, 279}},
        {"minimized owner: work area", &minimized, {342, 279}},
        {"no owner: work area", nullptr, {342, 279}},
        {"owner near the corner: pushed back inside", &nearEdge, {684, 558}},
    };
    for (const Case& c : cases) {
        const CenterPoint p = CenterPosition(kDialog, c.owner, kWorkArea);
        EXPECT_EQ(c.expected.x, p.x) << c.name << ": got " << Show(p);
        EXPECT_EQ(c.expected.y, p.y) << c.name << ": got " << Show(p);
    }
}

TEST(CenterPosition, KeepsALargerDialogAtTheWorkAreasTopLeft)
{
    const CenterRect huge = {0, 0, 1300, 900};
    const CenterPoint p = CenterPosition(huge, nullptr, kWorkArea);
    EXPECT_EQ(0, p.x) << Show(p);
    EXPECT_EQ(0, p.y) << Show(p);
}

TEST(CenterPosition, UsesAWorkAreaAwayFromTheOrigin)
{
    // A second monitor to the left of the first and lower, with its taskbar on top.
    const CenterRect area = {-1280, 40, 0, 1024};
    struct Case {
        const char* name;
        CenterRect window;
        CenterPoint expected;
    } const cases[] = {
        {"fits", {0, 0, 340, 180}, {-810, 442}},
        {"odd sizes", {5, 5, 346, 186}, {-810, 442}},
        {"wider and taller than the area", {0, 0, 1400, 1100}, {-1280, 40}},
    };
    for (const Case& c : cases) {
        const CenterPoint p = CenterPosition(c.window, nullptr, area);
        EXPECT_EQ(c.expected.x, p.x) << c.name << ": got " << Show(p);
        EXPECT_EQ(c.expected.y, p.y) << c.name << ": got " << Show(p);
    }
}
