#include "win/DecimalText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

TEST(DecimalText, WritesWhatPercentDWrites)
{
    const int64_t cases[] = {0,
                             7,
                             -7,
                             120,
                             -4096,
                             std::numeric_limits<int32_t>::max(),
                             std::numeric_limits<int32_t>::min(),
                             std::numeric_limits<int64_t>::max(),
                             std::numeric_limits<int64_t>::min()};
    for (int64_t value : cases) EXPECT_EQ(std::to_wstring(value), DecimalText(value)) << value;
}
