#include "engine/TimerPeriod.h"

uint32_t TimerPeriodMs(int32_t playinterval)
{
    int32_t seconds = playinterval;
    if (seconds < kMinIntervalSeconds) seconds = kMinIntervalSeconds;
    if (seconds > kMaxIntervalSeconds) seconds = kMaxIntervalSeconds;
    return static_cast<uint32_t>(seconds) * kMillisecondsPerSecond;
}
