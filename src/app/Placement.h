// Snapping a window rectangle to the work area of the monitor it is on.
#pragma once

#include <windows.h>

// The monitor that shows most of the rectangle (an empty one counts as a
// pixel), else what `fallback` (a MONITOR_DEFAULTTO value) says.
HMONITOR monitorOf(const RECT& rect, DWORD fallback);
// The work area of the monitor that shows most of the rectangle, or of the
// nearest one; false when it cannot be read.
bool readWorkArea(const RECT& rect, RECT& workArea);

// Snaps the rectangle to its monitor's work area, which is read afresh on each
// call, when an edge is within `distance` pixels; when the area cannot be read
// the rectangle is left as it is. The far edges follow from the given width
// and height (a resize) ...
void snapToWorkArea(RECT& rect, int width, int height, int distance);
// ... or from the rectangle's own size (a drag step).
void snapToWorkArea(RECT& rect, int distance);
