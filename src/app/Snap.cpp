#include "app/Snap.h"

#include <cstdlib>

namespace {

bool within(LONG a, LONG b) { return std::labs(static_cast<long>(a) - b) <= SNAP_DISTANCE; }

// One axis of the snap: near and far are the window's edges, areaNear and
// areaFar the work area's, size the window's extent on this axis. The first
// case that matches wins: near edge on the near side, far edge on the far side,
// then just outside the near side and just outside the far side.
void snapAxis(LONG& near, LONG& far, int size, LONG areaNear, LONG areaFar) {
    if (within(near, areaNear)) {
        near = areaNear;
        far = areaNear + size;
    } else if (within(areaFar, far)) {
        near = areaFar - size;
        far = areaFar;
    } else if (within(far, areaNear)) {
        near = areaNear - size;
        far = areaNear;
    } else if (within(areaFar, near)) {
        near = areaFar;
        far = areaFar + size;
    }
}

// Shifts [near, far) into [areaNear, areaFar) along one axis, keeping its size.
void moveAxisInto(LONG& near, LONG& far, LONG areaNear, LONG areaFar) {
    const LONG size = far - near;
    LONG target = near;
    if (target + size > areaFar) target = areaFar - size;
    if (target < areaNear) target = areaNear;
    near = target;
    far = target + size;
}

}  // namespace

void snapRectToArea(RECT& rect, int width, int height, const RECT& workArea) {
    snapAxis(rect.top, rect.bottom, height, workArea.top, workArea.bottom);
    snapAxis(rect.left, rect.right, width, workArea.left, workArea.right);
}

void moveRectIntoArea(RECT& rect, const RECT& area) {
    moveAxisInto(rect.left, rect.right, area.left, area.right);
    moveAxisInto(rect.top, rect.bottom, area.top, area.bottom);
}
