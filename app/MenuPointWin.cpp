#include "app/MenuPointWin.h"

#include "app/MenuPoint.h"

POINT MenuPointIntoWorkArea(POINT point)
{
    if (::MonitorFromPoint(point, MONITOR_DEFAULTTONULL) != nullptr) return point;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return point;
    point.x = ClampMenuX(point.x, info.rcWork.left, info.rcWork.right);
    return point;
}
