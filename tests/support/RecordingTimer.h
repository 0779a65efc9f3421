#pragma once

#include "engine/ChangeTimer.h"
#include "engine/TimerPeriod.h"

#include <string>
#include <vector>

// Notes every call of the controller's change timer, so a test can tell what
// was armed without waiting for ticks. It hands them on to the real timer
// unless a test wants no tick to come at all.
class RecordingTimer : public IChangeTimer {
public:
    explicit RecordingTimer(bool forward = true) : forward(forward) {}

    void Arm(HWND window, UINT_PTR id, UINT milliseconds) override
    {
        calls.push_back(L"arm " + std::to_wstring(milliseconds));
        if (forward) SystemChangeTimer().Arm(window, id, milliseconds);
    }
    void Stop(HWND window, UINT_PTR id) override
    {
        calls.push_back(L"stop");
        if (forward) SystemChangeTimer().Stop(window, id);
    }

    std::vector<std::wstring> calls;

private:
    bool forward;
};

// The call that arms the timer for an interval of that many seconds.
inline std::wstring ArmedFor(int32_t seconds)
{
    return L"arm " + std::to_wstring(TimerPeriodMs(seconds));
}
