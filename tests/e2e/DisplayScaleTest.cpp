// The clock at another display scale: started at 150 % (the Scale150 tests run
// in a Wine prefix of their own whose screen is set to 144 dpi), and moved
// between scales by WM_DPICHANGED.
#include <gtest/gtest.h>

#include "e2e/ClockTest.h"

using namespace harness;

namespace {

constexpr DWORD FLAGS_SNAP_TIME_ONLY = 0x2 | 0x800;
constexpr DWORD FLAG_CUSTOM_FONT = 0x20000;
constexpr WPARAM CMD_LOCK_POSITION = 32795;
constexpr LONG TWELVE_POINTS_AT_96 = -16;  // as the registry keeps a 12 pt font

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class ScaledClock : public StartedClockTest {
protected:
    void start(DWORD fontFlag = FLAG_CUSTOM_FONT) {
        writeSettingDword("LFHEIGHT", static_cast<DWORD>(TWELVE_POINTS_AT_96));
        startAt(FLAGS_SNAP_TIME_ONLY | fontFlag, 300, 200);
    }
    // The face is the time's extent at this font height with two pixels all
    // round; measured around the reading, so a turning minute cannot mislead.
    void expectFaceHugs(LONG fontHeight, const RECT* seen = nullptr) {
        SIZE before = {}, after = {};
        RECT r = {};
        do {
            before = extentInIconTitleFont(timeText(false), fontHeight);
            r = seen ? *seen : clock->rect();
            after = extentInIconTitleFont(timeText(false), fontHeight);
        } while (before.cx != after.cx && !seen);
        EXPECT_EQ(after.cx + 4, r.right - r.left);
        EXPECT_EQ(after.cy + 4, r.bottom - r.top);
    }
};
using Scale150 = ScaledClock;
using DisplayScale = ScaledClock;

TEST_F(Scale150, FontKeepsItsPointsAndTheFaceHugsIt) {
    ASSERT_EQ(144, screenDpi()) << "runs in the prefix at 150 %";
    // 12 pt at 144 dpi is 24 pixels; the icon-title font is the screen's (0: as read here).
    for (DWORD fontFlag : {FLAG_CUSTOM_FONT, DWORD{0}}) {
        SCOPED_TRACE(fontFlag);
        start(fontFlag);
        expectFaceHugs(fontFlag ? -24 : 0);
        clock->command(CMD_LOCK_POSITION);  // saves the settings
        DWORD stored = 0;
        ASSERT_TRUE(readSettingDword("LFHEIGHT", &stored));
        if (fontFlag) {
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
    for (int gap : {12, 13}) {
        const int dx = area.left + gap - clock->rect().left;
        SendMessageA(clock->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 3));
        SendMessageA(clock->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4 + dx, 3));
        SendMessageA(clock->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(4 + dx, 3));
        EXPECT_EQ(gap == 12 ? area.left : area.left + gap, clock->rect().left) << gap;
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
        const RECT scaled = clock->rect();
        ASSERT_TRUE(sendDpiChanged(window, 96, before));
        const RECT after = clock->rect();
        const WindowImage faceAfter = captureClient(window);
        if (timeText(false) != text) continue;  // the minute turned: again
        EXPECT_EQ(400, scaled.left);
        EXPECT_EQ(250, scaled.top);
        expectFaceHugs(-24, &scaled);
        EXPECT_TRUE(EqualRect(&before, &after));
        EXPECT_TRUE(face == faceAfter);
        return;
    }
    FAIL() << "the minute kept turning";
}

}  // namespace
