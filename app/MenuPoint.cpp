#include "app/MenuPoint.h"

long ClampMenuX(long x, long workLeft, long workRight)
{
    if (x < workLeft) return workLeft;
    if (x > workRight) return workRight;
    return x;
}
