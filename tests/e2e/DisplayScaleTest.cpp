// The clock at another display scale: started at 150 % (the Scale150 tests run
// in a Wine prefix of their own whose screen is set to 144 dpi), and moved
// between scales by WM_DPICHANGED.
#include <gtest/gtest.h>

#include <string>

#include "e2e/ClockTest.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_SNAP_TO_EDGES = 0x2;
constexpr DWORD FLAG_DATE_HIDDEN = 0x800;
constexpr DWORD FLAG_CUSTOM_FONT = 0x20000;
constexpr WPARAM CMD_LOCK_POSITION = 32795;
// A 12 pt font as the registry keeps it: its height in pixels at 96 dpi.
constexpr LONG TWELVE_POINTS_AT_96 = -16;

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

bool sameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// The clock's face (time only) in the icon-title face at a height, with a margin
// on every side; measured around the reading of the window, so that a change of
// the text between the two cannot mislead the comparison.
struct Fit {
    SIZE expected;
    RECT actual;
};
Fit fitOf(const RunningClock& clock, LONG fontHeight, int margin) {
    Fit fit = {};
    for (int attempt = 0; attempt < 5; ++attempt) {
        const SIZE before = extentInIconTitleFont(timeText(false), fontHeight);
        fit.actual = clock.rect();
        fit.expected = extentInIconTitleFont(timeText(false), fontHeight);
        if (before.cx == fit.expected.cx) break;
    }
    fit.expected.cx += 2 * margin;
    fit.expected.cy += 2 * margin;
    return fit;
}

void expectFit(const Fit& fit) {
    EXPECT_EQ(fit.expected.cx, fit.actual.right - fit.actual.left);
    EXPECT_EQ(fit.expected.cy, fit.actual.bottom - fit.actual.top);
}

class CustomFontClock : public StartedClockTest {
protected:
    void start(DWORD fontFlag = FLAG_CUSTOM_FONT) {
        writeSettingDword("LFHEIGHT", static_cast<DWORD>(TWELVE_POINTS_AT_96));
        startAt(FLAG_SNAP_TO_EDGES | FLAG_DATE_HIDDEN | fontFlag, 300, 200);
    }
};

using Scale150 = CustomFontClock;
using DisplayScale = CustomFontClock;

TEST_F(Scale150, FontKeepsItsPointsAndTheFaceHugsIt) {
    ASSERT_EQ(144, screenDpi()) << "runs in the prefix at 150 %";
    // 12 pt at 144 dpi is 24 pixels; the icon-title font is the screen's own
    // (0: as the test reads it). The margin is two pixels on every side.
    const struct {
        DWORD fontFlag;
        LONG height;
    } rows[] = {{FLAG_CUSTOM_FONT, -24}, {0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fontFlag ? "custom font" : "icon-title font");
        start(row.fontFlag);
        expectFit(fitOf(*clock, row.height, 2));
        // Saving keeps the size as it is at 100 %.
        clock->command(CMD_LOCK_POSITION);
        DWORD stored = 0;
        ASSERT_TRUE(readSettingDword("LFHEIGHT", &stored));
        if (row.fontFlag) {
            EXPECT_EQ(TWELVE_POINTS_AT_96, static_cast<LONG>(stored));
        }
        clock.reset();
        deleteSettings();
    }
}

TEST_F(Scale150, SnapsTwelvePixelsFromTheWorkAreaEdge) {
    ASSERT_EQ(144, screenDpi()) << "runs in the prefix at 150 %";
    start();
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND window = clock->hwnd();
    for (int gap : {12, 13}) {
        SCOPED_TRACE(gap);
        RECT r = clock->rect();
        const int grabX = 4, grabY = 3;
        const int dx = area.left + gap - r.left;
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grabX, grabY));
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grabX + dx, grabY));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(grabX + dx, grabY));
        r = clock->rect();
        EXPECT_EQ(gap == 12 ? area.left : area.left + gap, r.left);
    }
}

TEST_F(DisplayScale, DpiChangeRefitsTheFaceAndReturnsExactlyAt96) {
    start();
    HWND window = clock->hwnd();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string text = timeText(false);
        const RECT before = clock->rect();
        const WindowImage face = captureClient(window);
        // The suggestion is far larger than the face: only its corner is taken.
        ASSERT_TRUE(sendDpiChanged(window, 144, RECT{400, 250, 4400, 4250}));
        const Fit scaled = fitOf(*clock, -24, 2);
        ASSERT_TRUE(sendDpiChanged(window, 96, before));
        const RECT after = clock->rect();
        const WindowImage faceAfter = captureClient(window);
        if (timeText(false) != text) continue;  // the minute turned: measure again
        EXPECT_EQ(400, scaled.actual.left);
        EXPECT_EQ(250, scaled.actual.top);
        expectFit(scaled);
        EXPECT_TRUE(sameRect(before, after));
        EXPECT_TRUE(face == faceAfter);
        return;
    }
    FAIL() << "the minute kept turning";
}

}  // namespace
