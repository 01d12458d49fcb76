// Placement arithmetic on plain rectangles: pulling a window onto the edges of
// the work area, and bringing a lost window back onto it. No Windows calls, so
// it is tested directly.
#pragma once

#include "util/Platform.h"

// An edge snaps when it is at most this many pixels from its target line (at
// 96 dpi; the distance grows with the display scale).
constexpr int SNAP_DISTANCE = 8;

// Snaps the rectangle to the edges of the work area, inside or just outside it.
// The distances are measured on the incoming rectangle and the far edge is set
// from the given width and height, so a resize keeps a snapped edge in place.
// Each axis is handled on its own; an axis with no edge in reach is left alone.
void snapRectToArea(RECT& rect, int width, int height, const RECT& workArea, int distance = SNAP_DISTANCE);

// Moves the rectangle, keeping its size, the least distance that puts it inside
// the area; when it is larger than the area its top-left corner goes to the
// area's top-left corner.
void moveRectIntoArea(RECT& rect, const RECT& area);
