#include "win/CenterDialog.h"

#include "win/CenterRect.h"

namespace {

CenterRect ToCenterRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void CenterDialog(HWND window, HWND over)
{
    if (over == nullptr) over = ::GetWindow(window, GW_OWNER);

    CenterOwner owner = {};
    const CenterOwner* ownerPtr = nullptr;
    RECT overRect = {};
    if (over != nullptr && ::GetWindowRect(over, &overRect)) {
        owner = {ToCenterRect(overRect), ::IsWindowVisible(over) != FALSE, ::IsIconic(over) != FALSE};
        ownerPtr = &owner;
    }

    HMONITOR monitor = ::MonitorFromWindow(IsUsableOwner(ownerPtr) ? over : window, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr) return;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info)) return;

    RECT windowRect = {};
    if (!::GetWindowRect(window, &windowRect)) return;
    const CenterPoint place = CenterPosition(ToCenterRect(windowRect), ownerPtr, ToCenterRect(info.rcWork));
    ::SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
