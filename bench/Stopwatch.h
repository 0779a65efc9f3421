#pragma once

#include <windows.h>

// Milliseconds from the performance counter, whose readings are the same in
// every process, so a reading taken in another process can be placed too.
class Stopwatch {
public:
    Stopwatch()
    {
        ::QueryPerformanceFrequency(&frequency);
        start = Now();
    }

    static LONGLONG Now()
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return now.QuadPart;
    }

    double MillisecondsTo(LONGLONG reading) const
    {
        return 1000.0 * static_cast<double>(reading - start) / static_cast<double>(frequency.QuadPart);
    }
    double Milliseconds() const { return MillisecondsTo(Now()); }

private:
    LARGE_INTEGER frequency = {};
    LONGLONG start = 0;
};
