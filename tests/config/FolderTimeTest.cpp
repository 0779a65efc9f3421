#include "config/FolderTime.h"

#include <gtest/gtest.h>

TEST(FolderTime, ParsesLikeWtoi)
{
    struct Case {
        const wchar_t* text;
        int32_t expected;
    } const cases[] = {
        {L"1700000000", 1700000000},
        {L"-5", -5},
        {L"  42abc", 42},
        {L"", 0},
        {L"abc", 0},
        {L"+7", 7},
        {L"- 7", 0},
        {L"99999999999", INT32_MAX},
        {L"-99999999999", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ParseFolderTime(c.text)) << "text: " << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(FolderTime, FormatsLowThirtyTwoBitsSigned)
{
    EXPECT_EQ(L"1700000000", FormatFolderTime(1700000000));
    EXPECT_EQ(L"2147483647", FormatFolderTime(2147483647LL));
    // One second after 2038-01-19 03:14:07 UTC wraps to the most negative value.
    EXPECT_EQ(L"-2147483648", FormatFolderTime(2147483648LL));
    EXPECT_EQ(L"0", FormatFolderTime(0x100000000LL));
}

TEST(FolderTime, ChangedOnlyWhenModifiedAfterStoredTime)
{
    EXPECT_FALSE(IsFolderChanged(L"1000", 1000));
    EXPECT_FALSE(IsFolderChanged(L"1001", 1000));
    EXPECT_TRUE(IsFolderChanged(L"999", 1000));
    // Empty or non-numeric text reads as 0, so any folder modified after 1970 counts as changed.
    EXPECT_TRUE(IsFolderChanged(L"", 1));
    EXPECT_TRUE(IsFolderChanged(L"never", 1));
    EXPECT_FALSE(IsFolderChanged(L"", 0));
}
