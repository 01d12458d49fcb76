#include "app/Snap.h"

#include <cstdlib>

namespace {

bool within(LONG a, LONG b, int distance) { return std::labs(static_cast<long>(a) - b) <= distance; }

// One axis of the snap: lowEdge and highEdge are the window's edges (top and
// bottom, or left and right), areaLow and areaHigh the work area's, size the
// window's extent on this axis. The first case that matches wins: low edge on
// the area's low edge, high edge on its high edge, then just outside the low
// edge and just outside the high edge.
void snapAxis(LONG& lowEdge, LONG& highEdge, int size, LONG areaLow, LONG areaHigh, int distance) {
    if (within(lowEdge, areaLow, distance)) {
        lowEdge = areaLow;
        highEdge = areaLow + size;
    } else if (within(areaHigh, highEdge, distance)) {
        lowEdge = areaHigh - size;
        highEdge = areaHigh;
    } else if (within(highEdge, areaLow, distance)) {
        lowEdge = areaLow - size;
        highEdge = areaLow;
    } else if (within(areaHigh, lowEdge, distance)) {
        lowEdge = areaHigh;
        highEdge = areaHigh + size;
    }
}

// Shifts [lowEdge, highEdge) into [areaLow, areaHigh), keeping its size.
void moveAxisInto(LONG& lowEdge, LONG& highEdge, LONG areaLow, LONG areaHigh) {
    const LONG size = highEdge - lowEdge;
    LONG target = lowEdge;
    if (target + size > areaHigh) target = areaHigh - size;
    if (target < areaLow) target = areaLow;
    lowEdge = target;
    highEdge = target + size;
}

}  // namespace

void snapRectToArea(RECT& rect, int width, int height, const RECT& workArea, int distance) {
    snapAxis(rect.top, rect.bottom, height, workArea.top, workArea.bottom, distance);
    snapAxis(rect.left, rect.right, width, workArea.left, workArea.right, distance);
}

void moveRectIntoArea(RECT& rect, const RECT& area) {
    moveAxisInto(rect.left, rect.right, area.left, area.right);
    moveAxisInto(rect.top, rect.bottom, area.top, area.bottom);
}
