// Snapping a window rectangle to the primary monitor's work area.
#pragma once

#include <windows.h>

// The primary monitor's work area; false when it cannot be read.
bool readWorkArea(RECT& workArea);

// Snaps the rectangle to the work area, which is read afresh on each call; when
// it cannot be read the rectangle is left as it is. The far edges follow from
// the given width and height (a resize) ...
void snapToWorkArea(RECT& rect, int width, int height);
// ... or from the rectangle's own size (a drag step).
void snapToWorkArea(RECT& rect);
