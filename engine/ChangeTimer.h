#pragma once

#include <windows.h>

// The two system calls behind the controller's change timer. Tests put a
// recorder in their place, so they can see what was armed without waiting
// for real ticks.
class IChangeTimer {
public:
    virtual ~IChangeTimer() = default;
    // Arming a timer that runs already restarts its countdown.
    virtual void Arm(HWND window, UINT_PTR id, UINT milliseconds) = 0;
    virtual void Stop(HWND window, UINT_PTR id) = 0;
};

// SetTimer and KillTimer themselves.
IChangeTimer& SystemChangeTimer();
