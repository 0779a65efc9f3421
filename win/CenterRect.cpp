#include "win/CenterRect.h"

#include <cstdint>

namespace {

// One axis: centre a span of `size` on [centreLow, centreHigh), then keep it inside [areaLow, areaHigh).
int32_t CenterOnAxis(int32_t size, int32_t centreLow, int32_t centreHigh, int32_t areaLow, int32_t areaHigh)
{
    const int64_t middle = (static_cast<int64_t>(centreLow) + centreHigh) / 2;
    int32_t start = static_cast<int32_t>(middle - size / 2);
    if (start + size > areaHigh) start = areaHigh - size;
    if (start < areaLow) start = areaLow;
    return start;
}

}  // namespace

bool IsUsableOwner(const CenterOwner* owner)
{
    return owner != nullptr && owner->visible && !owner->minimized;
}

CenterPoint CenterPosition(const CenterRect& window, const CenterOwner* owner, const CenterRect& workArea)
{
    const CenterRect& centre = IsUsableOwner(owner) ? owner->rect : workArea;
    const int32_t width = window.right - window.left;
    const int32_t height = window.bottom - window.top;
    return {CenterOnAxis(width, centre.left, centre.right, workArea.left, workArea.right),
            CenterOnAxis(height, centre.top, centre.bottom, workArea.top, workArea.bottom)};
}
