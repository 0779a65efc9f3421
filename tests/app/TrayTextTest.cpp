#include "app/MenuPoint.h"
#include "app/TipText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {
// A text whose characters all differ (CJK ideographs), so a cut at the wrong
// end or a skipped character shows.
std::wstring VariedText(std::size_t length)
{
    std::wstring text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(L'\u4e00' + i);
    return text;
}
}  // namespace

TEST(CopyTipText, CutsToRoomKeepingTheFirstCharactersAndAlwaysTerminates)
{
    struct Case {
        size_t length;
        size_t expected;
    } const cases[] = {{0, 0}, {1, 1}, {126, 126}, {127, 127}, {128, 127}, {200, 127}};
    for (const Case& c : cases) {
        const std::wstring text = VariedText(c.length);
        wchar_t dest[kTipChars + 1];
        std::fill(std::begin(dest), std::end(dest), L'#');
        const size_t copied = CopyTipText(dest, kTipChars, text.c_str());
        EXPECT_EQ(c.expected, copied) << "length " << c.length;
        EXPECT_EQ(text.substr(0, c.expected), std::wstring(dest)) << "length " << c.length;
        EXPECT_EQ(L'#', dest[kTipChars]) << "wrote past the room, length " << c.length;
    }
}

TEST(CopyTipText, NullTextLeavesAnEmptyTip)
{
    wchar_t dest[kTipChars] = L"old";
    EXPECT_EQ(0u, CopyTipText(dest, kTipChars, nullptr));
    EXPECT_EQ(std::wstring(), std::wstring(dest));
}

TEST(ClampMenuX, MovesXIntoTheWorkAreaSpan)
{
    struct Case {
        long x, left, right, expected;
    } const cases[] = {
        {-50, 0, 1024, 0},                                  // left of the only monitor
        {1500, 0, 1024, 1024},                              // right of it
        {500, 0, 1024, 500},                                // inside stays
        {0, 0, 1024, 0},                                    // on the edges stays
        {1024, 0, 1024, 1024},   {-2000, -1280, 0, -1280},  // a monitor left of the primary one
        {100, 1024, 2048, 1024},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ClampMenuX(c.x, c.left, c.right))
            << "x " << c.x << " in [" << c.left << ", " << c.right << "]";
    }
}
