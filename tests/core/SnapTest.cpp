#include <gtest/gtest.h>

#include "app/Snap.h"

namespace {

const RECT WORK_AREA{0, 0, 1280, 770};
constexpr int W = 200;
constexpr int H = 20;

RECT windowAt(LONG left, LONG top, int width = W, int height = H) {
    return RECT{left, top, left + width, top + height};
}

RECT snapped(RECT rect) {
    snapRectToArea(rect, rect.right - rect.left, rect.bottom - rect.top, WORK_AREA);
    return rect;
}

void expectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

// One edge case per row: the window's incoming top (or left) and where it ends.
struct AxisCase {
    const char* what;
    LONG from;
    LONG to;
};

// Horizontal position 500 is far from both side edges, so only the vertical
// rule acts in these rows.
const AxisCase VERTICAL_CASES[] = {
    {"top 8 below the top edge", 8, 0},
    {"top 8 above the top edge", -8, 0},
    {"top 9 below the top edge", 9, 9},
    {"bottom 8 above the bottom edge", 770 - H - 8, 770 - H},
    {"bottom 8 below the bottom edge", 770 - H + 8, 770 - H},
    {"bottom 9 above the bottom edge", 770 - H - 9, 770 - H - 9},
    {"bottom 8 above the top edge, outside", -H - 8, -H},
    {"bottom 8 below the top edge, top 12 above it", -H + 8, -H},
    {"bottom 9 above the top edge", -H - 9, -H - 9},
    {"top 8 below the bottom edge, outside", 770 + 8, 770},
    {"top 9 below the bottom edge", 770 + 9, 770 + 9},
    {"far from every edge", 300, 300},
};

const AxisCase HORIZONTAL_CASES[] = {
    {"left 8 right of the left edge", 8, 0},
    {"left 8 left of the left edge", -8, 0},
    {"left 9 right of the left edge", 9, 9},
    {"right 8 left of the right edge", 1280 - W - 8, 1280 - W},
    {"right 8 beyond the right edge", 1280 - W + 8, 1280 - W},
    {"right 9 left of the right edge", 1280 - W - 9, 1280 - W - 9},
    {"right 8 left of the left edge, outside", -W - 8, -W},
    {"right 9 left of the left edge", -W - 9, -W - 9},
    {"left 8 right of the right edge, outside", 1280 + 8, 1280},
    {"left 8 left of the right edge, reaching out", 1280 - 8, 1280},
    {"left 9 right of the right edge", 1280 + 9, 1280 + 9},
    {"far from every edge", 500, 500},
};

TEST(Snap, VerticalEdgesSnapWithinEightPixelsAndNotNine) {
    for (const AxisCase& c : VERTICAL_CASES) {
        SCOPED_TRACE(c.what);
        expectRect(windowAt(500, c.to), snapped(windowAt(500, c.from)));
    }
}

TEST(Snap, HorizontalEdgesSnapWithinEightPixelsAndNotNine) {
    for (const AxisCase& c : HORIZONTAL_CASES) {
        SCOPED_TRACE(c.what);
        expectRect(windowAt(c.to, 300), snapped(windowAt(c.from, 300)));
    }
}

TEST(Snap, CornersSnapOnBothAxesIndependently) {
    expectRect(windowAt(0, 0), snapped(windowAt(5, -7)));
    expectRect(windowAt(1280 - W, 770 - H), snapped(windowAt(1280 - W + 8, 770 - H - 8)));
    expectRect(windowAt(1280, -H), snapped(windowAt(1280 + 3, -H - 4)));
    // One axis in reach, the other not: only the first moves.
    expectRect(windowAt(0, 770 - H - 9), snapped(windowAt(8, 770 - H - 9)));
}

TEST(Snap, FirstMatchingCaseWinsWhenTwoEdgesAreInReach) {
    // A window nearly as tall as a low work area reaches both its top and its
    // bottom edge; the top edge is taken.
    const RECT lowArea{0, 0, 1280, 24};
    RECT rect = windowAt(500, 3, W, 20);
    snapRectToArea(rect, W, 20, lowArea);
    expectRect(windowAt(500, 0, W, 20), rect);
    // Likewise the left edge over the right edge of a narrow area.
    const RECT narrowArea{0, 0, 206, 770};
    rect = windowAt(4, 300);
    snapRectToArea(rect, W, H, narrowArea);
    expectRect(windowAt(0, 300), rect);
}

TEST(Snap, ResizeKeepsASnappedEdgeInPlace) {
    // On the right edge a wider face grows to the left; on the bottom edge a
    // taller face grows upward.
    RECT rect = windowAt(1280 - W, 770 - H);
    snapRectToArea(rect, W + 30, H + 6, WORK_AREA);
    expectRect(RECT{1280 - W - 30, 770 - H - 6, 1280, 770}, rect);

    // Shrinking on the right edge keeps the right edge too.
    rect = windowAt(1280 - W, 300);
    snapRectToArea(rect, W - 50, H, WORK_AREA);
    expectRect(RECT{1280 - W + 50, 300, 1280, 300 + H}, rect);

    // On the left and top edges the corner stays and the far edges follow the size.
    rect = windowAt(0, 0);
    snapRectToArea(rect, W + 30, H + 6, WORK_AREA);
    expectRect(windowAt(0, 0, W + 30, H + 6), rect);

    // A free window keeps its rectangle; the caller resizes it from its corner.
    rect = windowAt(400, 300);
    snapRectToArea(rect, W + 30, H + 6, WORK_AREA);
    expectRect(windowAt(400, 300), rect);
}

TEST(Snap, LostWindowIsMovedTheLeastWayIntoTheArea) {
    RECT rect = windowAt(-30000, 5000);
    moveRectIntoArea(rect, WORK_AREA);
    expectRect(windowAt(0, 770 - H), rect);

    rect = windowAt(3000, -400);
    moveRectIntoArea(rect, WORK_AREA);
    expectRect(windowAt(1280 - W, 0), rect);

    rect = windowAt(100, 100);
    moveRectIntoArea(rect, WORK_AREA);
    expectRect(windowAt(100, 100), rect);

    // Larger than the area: the top-left corners meet.
    rect = windowAt(-5000, -5000, 2000, 900);
    moveRectIntoArea(rect, WORK_AREA);
    expectRect(windowAt(0, 0, 2000, 900), rect);
}

}  // namespace
