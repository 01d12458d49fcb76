#include <gtest/gtest.h>

#include "app/Snap.h"
#include "face/FaceStyle.h"
#include "util/DpiScale.h"

namespace {

TEST(DpiScale, SizesGrowWithTheScaleAndComeBackExactly) {
    struct Row {
        int dpi;
        int snap;        // the 8-pixel snapping distance
        int fontHeight;  // a 12 pt font, -16 at 100 %
        int edge;        // the face's outline and shadow
    };
    const Row rows[] = {{96, 8, -16, 1}, {120, 10, -20, 1}, {144, 12, -24, 2}, {168, 14, -28, 2}, {192, 16, -32, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dpi);
        EXPECT_EQ(row.snap, scaleToDpi(SNAP_DISTANCE, row.dpi));
        EXPECT_EQ(row.fontHeight, scaleToDpi(-16, row.dpi));
        EXPECT_EQ(-16, scaleFromDpi(row.fontHeight, row.dpi));
        EXPECT_EQ(row.edge, faceEdgeWidth(row.dpi));
    }
    // Halves round away from zero, as MulDiv does; a dpi that was never read is 96.
    EXPECT_EQ(23, scaleToDpi(15, 144));
    EXPECT_EQ(-23, scaleToDpi(-15, 144));
    EXPECT_EQ(15, scaleToDpi(15, 0));
}

TEST(DpiScale, FacePassesTileTheEnlargedMarginWithoutGaps) {
    for (int edge : {1, 2, 3}) {
        SCOPED_TRACE(edge);
        int covered[7] = {};
        for (int offset = 0; offset < 3; ++offset) {
            const FaceSpan span = faceSpan(offset, edge);
            for (int p = span.first; p <= span.last; ++p) ++covered[p];
        }
        for (int p = 0; p <= 2 * edge; ++p) EXPECT_EQ(1, covered[p]) << p;
        // The main text is drawn once, one band in from the corner.
        EXPECT_EQ(edge, faceSpan(MAIN_TEXT_OFFSET.x, edge).first);
        EXPECT_EQ(edge, faceSpan(MAIN_TEXT_OFFSET.x, edge).last);
    }
}

TEST(DpiScale, SnapsAtTheScaledDistanceOnTheWorkAreaOfAMonitorRightOfThePrimary) {
    const RECT secondMonitor{1920, 0, 3840, 1040};
    const int distance = scaleToDpi(SNAP_DISTANCE, 144);
    RECT rect{1920 + 12, 1040 - 20 - 12, 1920 + 12 + 300, 1040 - 12};
    snapRectToArea(rect, 300, 20, secondMonitor, distance);
    EXPECT_EQ(1920, rect.left);
    EXPECT_EQ(1040 - 20, rect.top);
    RECT free{1920 + 13, 500, 1920 + 13 + 300, 520};
    snapRectToArea(free, 300, 20, secondMonitor, distance);
    EXPECT_EQ(1920 + 13, free.left);
}

}  // namespace
