#include "engine/PlaylistRules.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Show(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += "[" + line + "]";
    return text;
}

std::vector<std::string> TakeAllLines(std::string_view rest)
{
    std::vector<std::string> lines;
    std::string_view line;
    while (TakeListLine(rest, line)) lines.emplace_back(line);
    return lines;
}

}  // namespace

TEST(PlaylistRules, StepBackwardWrapsToLastEntryAndNeverLeavesTheList)
{
    struct Case {
        int position, count, expected;
    } const cases[] = {
        {-1, 3, 2},
        {0, 3, 2},
        {1, 3, 0},
        {2, 3, 1},
        // Past the end, after a rebuild shrank the list: the last entry.
        {3, 3, 2},
        {4, 3, 2},
        {100, 3, 2},
        {0, 1, 0},
        {5, 1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, StepBackward(c.position, c.count)) << "from " << c.position << " of " << c.count;
    }
}

// Ordinary deletes are checked through the player itself; these are the edges.
TEST(PlaylistRules, DeleteAtTheEdgesOfTheList)
{
    struct Case {
        int index, position, countAfter;
        DeleteStep expected;
    } const cases[] = {
        {0, 0, 0, {0, false}},    // only entry: nothing left to show
        {0, -1, 2, {-1, false}},  // no current picture
        {2, 7, 4, {6, false}},    // position past the end stays past the end
    };
    for (const Case& c : cases) {
        const DeleteStep step = StepAfterDelete(c.index, c.position, c.countAfter);
        EXPECT_EQ(c.expected.position, step.position) << "delete " << c.index << " at " << c.position;
        EXPECT_EQ(c.expected.show, step.show) << "delete " << c.index << " at " << c.position;
    }
}

TEST(PlaylistRules, PrefixComparesAsciiLettersWithoutCase)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* prefix;
        bool expected;
    } const cases[] = {
        {L"C:\\Pics\\a.jpg", L"c:\\pics\\", true},
        {L"C:\\Pics2\\a.jpg", L"C:\\Pics\\", false},
        {L"C:\\Pics", L"C:\\Pics\\", false},  // shorter than the prefix
        {L"C:\\Pics\\", L"C:\\PICS\\", true},
        {L"C:\\\u00C9t\u00E9\\a.jpg", L"C:\\\u00E9t\u00E9\\", false},  // only ASCII letters fold
        {L"C:\\[x]\\a.jpg", L"C:\\{X}\\", false},                      // '[' and '{' are not a case pair
        {L"anything", L"", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, StartsWithAsciiNoCase(c.text, c.prefix))
            << testing::PrintToString(std::wstring(c.text)) << " / " << testing::PrintToString(std::wstring(c.prefix));
    }
}

TEST(PlaylistRules, ListLinesSplitAtLineFeedAndDropOneCarriageReturn)
{
    struct Case {
        std::string bytes;
        std::vector<std::string> expected;
    } const cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},              // last line without line end
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // blank middle line
        {"a\nb\n", {"a", "b"}},              // bare LF
        {"\r\n", {""}},
        {"a\r\r\n", {"a\r"}},  // only the CR right before LF goes
        {"a\rb\r\n", {"a\rb"}},
        {"a\r", {"a\r"}},  // a CR at the very end is content
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Show(c.expected), Show(TakeAllLines(c.bytes))) << testing::PrintToString(c.bytes);
        EXPECT_EQ(c.expected.size(), CountListLines(c.bytes)) << testing::PrintToString(c.bytes);
    }
}
