// The per-tick update of a real clock object on a window of this process, with
// the local time given by the test instead of the system.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "win/ClockOnWindow.h"

namespace {

SYSTEMTIME givenTime;
void readGivenTime(SYSTEMTIME* time) { *time = givenTime; }

class ClockTick : public ClockOnWindow {
protected:
    void SetUp() override {
        ClockOnWindow::SetUp();
        systemTime = readLocalTime;
        readLocalTime = readGivenTime;
    }
    void TearDown() override {
        readLocalTime = systemTime;
        ClockOnWindow::TearDown();
    }

    // Shows the given moment as initialize does, with the date prefix.
    void showAt(const SYSTEMTIME& t, uint32_t flags) {
        clock->flags = flags;
        clock->buildDatePicture();
        clock->now = t;
        ASSERT_TRUE(clock->reloadToday());
        clock->refreshFaceText();
    }
    std::string text() const { return std::string(clock->displayText, clock->textLength); }
    // The face as the window shows it.
    std::vector<COLORREF> shownPixels() const {
        std::vector<COLORREF> pixels;
        HDC dc = GetDC(window);
        for (int y = 0; y < clock->faceRect.bottom; ++y)
            for (int x = 0; x < clock->faceRect.right; ++x) pixels.push_back(GetPixel(dc, x, y));
        ReleaseDC(window, dc);
        return pixels;
    }
    void tickAt(const SYSTEMTIME& t) {
        givenTime = t;
        clock->tick();
    }

    LocalTimeSource systemTime = nullptr;
};

// Counts the moves of the test's window.
int windowMoves = 0;
WNDPROC staticProcedure = nullptr;
LRESULT CALLBACK countMoves(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) ++windowMoves;
    return CallWindowProcA(staticProcedure, window, message, wParam, lParam);
}

TEST_F(ClockTick, SecondsHiddenTheTextChangesOnlyWithTheMinute) {
    showAt(makeSystemTime(2010, 4, 1, 9, 30, 7), FLAGS_DEFAULT);
    const std::string shown = text();
    EXPECT_NE(shown.find("9:30"), std::string::npos) << shown;

    tickAt(makeSystemTime(2010, 4, 1, 9, 30, 8));
    EXPECT_EQ(text(), shown);
    EXPECT_EQ(clock->now.wSecond, 7);

    tickAt(makeSystemTime(2010, 4, 1, 9, 31, 0));
    EXPECT_NE(text().find("9:31"), std::string::npos) << text();
    EXPECT_EQ(clock->now.wMinute, 31);
}

TEST_F(ClockTick, ATickInTheShownSecondDoesNothingEvenInANewMinute) {
    showAt(makeSystemTime(2010, 4, 1, 9, 30, 7), FLAGS_DEFAULT);
    const std::string shown = text();
    tickAt(makeSystemTime(2010, 4, 1, 9, 31, 7));
    EXPECT_EQ(text(), shown);
    EXPECT_EQ(clock->now.wMinute, 30);
}

TEST_F(ClockTick, SecondsShownTheTextChangesEverySecond) {
    showAt(makeSystemTime(2010, 4, 1, 9, 30, 7), FLAGS_DEFAULT | FLAG_SHOW_SECONDS);
    EXPECT_NE(text().find("9:30:07"), std::string::npos) << text();
    tickAt(makeSystemTime(2010, 4, 1, 9, 30, 8));
    EXPECT_NE(text().find("9:30:08"), std::string::npos) << text();
}

// A face that keeps its size is redrawn where it stands; only a change of size moves it.
TEST_F(ClockTick, AFaceIsMovedOnlyWhenItsSizeChangesAndShownWithoutARepaint) {
    showAt(makeSystemTime(2010, 4, 1, 9, 30, 13), FLAGS_DEFAULT | FLAG_SHOW_SECONDS);
    staticProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countMoves)));
    ValidateRect(window, nullptr);
    windowMoves = 0;
    // The same digits in another order keep the text's width in any font.
    tickAt(makeSystemTime(2010, 4, 1, 9, 31, 2));
    const std::vector<COLORREF> shown = shownPixels();
    tickAt(makeSystemTime(2010, 4, 1, 9, 31, 3));
    EXPECT_EQ(0, windowMoves);
    // The new second is on the screen at once, without a paint cycle.
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_NE(shown, shownPixels());
    const LONG width = clock->faceRect.right;
    tickAt(makeSystemTime(2010, 12, 25, 10, 31, 4));
    ASSERT_NE(width, clock->faceRect.right) << text();
    EXPECT_GT(windowMoves, 0);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProcedure));
}

TEST_F(ClockTick, ANewDateRebuildsTheDatePrefixAndTheMonthLength) {
    showAt(makeSystemTime(2010, 3, 31, 23, 59, 59), FLAGS_DEFAULT);
    EXPECT_EQ(text().rfind("2010年3月31日", 0), 0u) << text();
    EXPECT_EQ(clock->daysInMonth, 31);

    tickAt(makeSystemTime(2010, 4, 1, 0, 0, 0));
    EXPECT_EQ(text().rfind("2010年4月01日", 0), 0u) << text();
    EXPECT_NE(text().find("0:00"), std::string::npos) << text();
    EXPECT_EQ(clock->daysInMonth, 30);
}

}  // namespace
