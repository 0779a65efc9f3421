#include "engine/TimerPeriod.h"

#include <gtest/gtest.h>

TEST(TimerPeriod, IntervalIsBoundedBeforeItBecomesMilliseconds)
{
    struct Case {
        int32_t seconds;
        uint32_t expected;
    } const cases[] = {
        {15, 15000u},
        {1, 1000u},
        {0, 1000u},  // the settings dialog accepts 0; it must not fire every few milliseconds
        {-5, 1000u},
        {INT32_MIN, 1000u},
        {86400, 86400000u},
        {2147483, 2147483000u},
        {2147484, 2147483000u},  // would overflow the signed millisecond count
        {INT32_MAX, 2147483000u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, TimerPeriodMs(c.seconds)) << "seconds " << c.seconds;
    }
}
