#pragma once

#include <cstdint>

// The stored interval is kept as the user entered it, but the timer is armed
// with it bounded: 0 or less would fire every few milliseconds, and more than
// this many seconds no longer fits the timer's signed millisecond count.
constexpr int32_t kMinIntervalSeconds = 1;
constexpr int32_t kMaxIntervalSeconds = 2147483;
constexpr uint32_t kMillisecondsPerSecond = 1000;

uint32_t TimerPeriodMs(int32_t playinterval);
