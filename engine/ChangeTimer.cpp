#include "engine/ChangeTimer.h"

namespace {

class SystemTimer : public IChangeTimer {
public:
    void Arm(HWND window, UINT_PTR id, UINT milliseconds) override { ::SetTimer(window, id, milliseconds, nullptr); }
    void Stop(HWND window, UINT_PTR id) override { ::KillTimer(window, id); }
};

}  // namespace

IChangeTimer& SystemChangeTimer()
{
    static SystemTimer timer;
    return timer;
}
