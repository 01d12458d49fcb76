// Moving the clock: the drag, edge snapping, resizing with a snapped edge kept
// in place, and the Z-order band.
#include "app/Placement.h"

#include "app/ClockWindow.h"
#include "app/Snap.h"
#include "settings/Flags.h"

HMONITOR monitorOf(const RECT& rect, DWORD fallback) {
    RECT probe = rect;
    if (probe.right <= probe.left) probe.right = probe.left + 1;
    if (probe.bottom <= probe.top) probe.bottom = probe.top + 1;
    return MonitorFromRect(&probe, fallback);
}

bool readWorkArea(const RECT& rect, RECT& workArea) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = monitorOf(rect, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        workArea = info.rcWork;
        return true;
    }
    return SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0) == 1;
}

void snapToWorkArea(RECT& rect, int width, int height, int distance) {
    RECT workArea;
    if (readWorkArea(rect, workArea)) snapRectToArea(rect, width, height, workArea, distance);
}

void snapToWorkArea(RECT& rect, int distance) {
    snapToWorkArea(rect, rect.right - rect.left, rect.bottom - rect.top, distance);
}

namespace {

// Client coordinates of a mouse message, each a signed 16-bit word.
POINT clientPoint(LPARAM lParam) {
    return POINT{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

}  // namespace

void ClockWindow::onLButtonDown(WPARAM /*keys*/, LPARAM lParam) {
    if (flags & FLAG_POSITION_LOCKED) return;
    SetCapture(hwnd);
    flags |= FLAG_DRAGGING;
    const POINT grab = clientPoint(lParam);
    grabX = static_cast<int16_t>(grab.x);
    grabY = static_cast<int16_t>(grab.y);
}

void ClockWindow::onMouseMove(WPARAM keys, LPARAM lParam) {
    if (!(keys & MK_LBUTTON)) return;
    if (flags & FLAG_POSITION_LOCKED) return;
    const POINT cursor = clientPoint(lParam);
    if (!(flags & FLAG_DRAGGING)) {
        // A drag that began outside the face (no button-down here) starts now,
        // without capture; the window moves from the next step on.
        flags |= FLAG_DRAGGING;
        grabX = static_cast<int16_t>(cursor.x);
        grabY = static_cast<int16_t>(cursor.y);
        return;
    }
    RECT rect;
    if (!GetWindowRect(hwnd, &rect)) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // The window moves so that the grabbed point stays under the cursor.
    OffsetRect(&rect, cursor.x - grabX, cursor.y - grabY);
    if (flags & FLAG_SNAP_TO_EDGES) snapToWorkArea(rect, scaled(SNAP_DISTANCE));
    MoveWindow(hwnd, rect.left, rect.top, width, height, TRUE);
    posX = static_cast<int16_t>(rect.left);
    posY = static_cast<int16_t>(rect.top);
}

void ClockWindow::onLButtonUp() {
    flags &= ~FLAG_DRAGGING;
    ReleaseCapture();
}

void ClockWindow::resizeWindow(int width, int height) {
    RECT rect;
    if (!GetWindowRect(hwnd, &rect)) return;
    const RECT current = rect;
    // Distances are measured on the current rectangle and the far edge comes
    // from the new size, so a clock on the right or bottom edge grows inward.
    if (flags & FLAG_SNAP_TO_EDGES) snapToWorkArea(rect, width, height, scaled(SNAP_DISTANCE));
    // A face that keeps its size and place, as it does on most ticks, is left
    // where it is: a move, even to the same rectangle, costs the window system a
    // round of work that would be most of the clock's idle cost.
    const RECT target = {rect.left, rect.top, rect.left + width, rect.top + height};
    if (EqualRect(&target, &current)) return;
    MoveWindow(hwnd, rect.left, rect.top, width, height, TRUE);
}

bool ClockWindow::applyTopmost() {
    HWND band = (flags & FLAG_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST;
    return SetWindowPos(hwnd, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

bool ClockWindow::placeBelow(HWND window) {
    // Without SWP_NOACTIVATE the clock would be activated, which lifts it to the
    // top of its band instead of under the window, and takes the focus from the
    // user's program every two seconds.
    return SetWindowPos(hwnd, window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != FALSE;
}
