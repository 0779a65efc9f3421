#pragma once

// The x of a popup menu's point that lies on no monitor, moved into the
// horizontal span of the nearest monitor's work area [workLeft, workRight].
// A point inside the span keeps its x; y is never touched.
long ClampMenuX(long x, long workLeft, long workRight);
