#include "engine/SelectArgument.h"

#include <gtest/gtest.h>

TEST(SelectArgument, QuotesThePathSoCommasStayInIt)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* expected;
    } const cases[] = {
        {L"C:\\Pictures\\sunset.jpg", L"/select,\"C:\\Pictures\\sunset.jpg\""},
        {L"C:\\My Pictures\\a b.jpg", L"/select,\"C:\\My Pictures\\a b.jpg\""},
        {L"C:\\a,b\\c.jpg", L"/select,\"C:\\a,b\\c.jpg\""},
        {L"D:\\,\\,x, y,.png", L"/select,\"D:\\,\\,x, y,.png\""},
        {L"\\\\server\\share\\\u58c1\u7eb8.bmp", L"/select,\"\\\\server\\share\\\u58c1\u7eb8.bmp\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::wstring(c.expected), SelectArgument(c.path)) << "path: " << testing::PrintToString(std::wstring(c.path));
    }
}

TEST(SelectArgument, NoPictureGivesSelectAlone)
{
    EXPECT_EQ(L"/select,", SelectArgument(L""));
}
