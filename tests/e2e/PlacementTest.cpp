// Moving the running clock with mouse messages: the drag, edge snapping, the
// position lock, anchoring on resize, the Z-order band, and a lost position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/ClockTest.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_SNAP_TO_EDGES = 0x2;
constexpr DWORD FLAG_TOPMOST = 0x20;
constexpr DWORD FLAG_DATE_HIDDEN = 0x800;
constexpr DWORD FLAG_SHOW_SECONDS = 0x40000;
constexpr WPARAM CMD_SAVE_POSITION = 32772;
constexpr WPARAM CMD_LOCK_POSITION = 32795;

RECT workArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

// Mouse messages are sent rather than posted: a sent message returns once the
// clock has handled it, while a posted one would wait behind later sent ones.
void mouse(HWND window, UINT message, WPARAM keys, int x, int y) {
    SendMessageA(window, message, keys, MAKELPARAM(x, y));
}

// One drag step as the mouse would send it: press at a point of the face, move
// with the button held to a point (dx, dy) away from it, release.
void drag(HWND window, int dx, int dy) {
    const int grabX = 4, grabY = 3;
    mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, grabX, grabY);
    mouse(window, WM_MOUSEMOVE, MK_LBUTTON, grabX + dx, grabY + dy);
    mouse(window, WM_LBUTTONUP, 0, grabX + dx, grabY + dy);
}

// Drags the clock so that its top-left corner ends at (left, top) before snapping.
void dragTo(HWND window, int left, int top) {
    RECT r;
    GetWindowRect(window, &r);
    drag(window, left - r.left, top - r.top);
}

class Placement : public StartedClockTest {
protected:
    // Starts the clock on the given Flags, at a free place of the screen.
    void start(DWORD flags) { startAt(flags, 300, 200); }

    HWND window() const { return clock->hwnd(); }
};

TEST_F(Placement, WindowIsTheTextExtentPlusOnePixelAllRound) {
    for (bool seconds : {false, true}) {
        SCOPED_TRACE(seconds ? "with seconds" : "without seconds");
        start(FLAG_SNAP_TO_EDGES | FLAG_DATE_HIDDEN | (seconds ? FLAG_SHOW_SECONDS : 0));
        // Measured around the reading of the window, so that a change of the
        // text between the two cannot mislead the comparison.
        SIZE expected = {}, again = {};
        RECT r = {};
        for (int attempt = 0; attempt < 5; ++attempt) {
            expected = extentInIconTitleFont(timeText(seconds));
            r = clock->rect();
            again = extentInIconTitleFont(timeText(seconds));
            if (expected.cx == again.cx && expected.cy == again.cy) break;
        }
        EXPECT_EQ(expected.cx + 2, width(r));
        EXPECT_EQ(expected.cy + 2, height(r));
        EXPECT_GT(expected.cx, 0);
        clock.reset();
    }
}

TEST_F(Placement, DragMovesTheWindowByTheCursorDistance) {
    start(FLAG_SNAP_TO_EDGES);
    const RECT before = clock->rect();
    drag(window(), 37, -21);
    const RECT after = clock->rect();
    EXPECT_EQ(before.left + 37, after.left);
    EXPECT_EQ(before.top - 21, after.top);
    EXPECT_EQ(width(before), width(after));
    EXPECT_EQ(height(before), height(after));

    // The position the drag gave is the one the position command saves.
    clock->command(CMD_SAVE_POSITION);
    DWORD x = 0, y = 0;
    ASSERT_TRUE(readSettingDword("PosX", &x));
    ASSERT_TRUE(readSettingDword("PosY", &y));
    EXPECT_EQ(after.left, static_cast<LONG>(x));
    EXPECT_EQ(after.top, static_cast<LONG>(y));
}

TEST_F(Placement, DragSnapsToTheWorkAreaEdgesWithinEightPixels) {
    start(FLAG_SNAP_TO_EDGES);
    const RECT area = workArea();
    const int w = width(clock->rect());
    const int h = height(clock->rect());

    dragTo(window(), area.left + 8, 300);
    EXPECT_EQ(area.left, clock->rect().left);
    dragTo(window(), area.left + 9, 300);
    EXPECT_EQ(area.left + 9, clock->rect().left);

    dragTo(window(), 400, area.top + 8);
    EXPECT_EQ(area.top, clock->rect().top);
    dragTo(window(), 400, area.top + 9);
    EXPECT_EQ(area.top + 9, clock->rect().top);

    // Near the bottom-right corner both axes snap.
    dragTo(window(), area.right - w - 6, area.bottom - h + 5);
    EXPECT_EQ(area.right, clock->rect().right);
    EXPECT_EQ(area.bottom, clock->rect().bottom);

    // Just above the work area the bottom edge snaps onto its top from outside.
    dragTo(window(), 400, area.top - h - 7);
    EXPECT_EQ(area.top, clock->rect().bottom);
}

TEST_F(Placement, WithoutSnappingTheWindowFollowsTheCursorOffTheScreen) {
    start(0);
    const RECT area = workArea();
    dragTo(window(), area.left + 5, 300);
    EXPECT_EQ(area.left + 5, clock->rect().left);
    dragTo(window(), area.left - 50, 300);
    EXPECT_EQ(area.left - 50, clock->rect().left);
}

TEST_F(Placement, LockedClockIgnoresDragsUntilUnlocked) {
    start(FLAG_SNAP_TO_EDGES);
    clock->command(CMD_LOCK_POSITION);
    const RECT before = clock->rect();
    drag(window(), 60, 40);
    // A move with the button held but no press on the face does nothing either.
    mouse(window(), WM_MOUSEMOVE, MK_LBUTTON, 10, 10);
    mouse(window(), WM_MOUSEMOVE, MK_LBUTTON, 70, 50);
    EXPECT_EQ(before.left, clock->rect().left);
    EXPECT_EQ(before.top, clock->rect().top);

    clock->command(CMD_LOCK_POSITION);
    drag(window(), 60, 40);
    EXPECT_EQ(before.left + 60, clock->rect().left);
    EXPECT_EQ(before.top + 40, clock->rect().top);
}

TEST_F(Placement, MoveWithTheButtonHeldStartsADragWithoutMoving) {
    start(FLAG_SNAP_TO_EDGES);
    const RECT before = clock->rect();
    // Without a press on the face the first move only takes the grab point.
    mouse(window(), WM_MOUSEMOVE, MK_LBUTTON, 10, 10);
    EXPECT_EQ(before.left, clock->rect().left);
    mouse(window(), WM_MOUSEMOVE, MK_LBUTTON, 25, 18);
    EXPECT_EQ(before.left + 15, clock->rect().left);
    EXPECT_EQ(before.top + 8, clock->rect().top);
    // A move without the button does nothing.
    mouse(window(), WM_LBUTTONUP, 0, 25, 18);
    mouse(window(), WM_MOUSEMOVE, 0, 90, 90);
    EXPECT_EQ(before.left + 15, clock->rect().left);
}

TEST_F(Placement, TopmostFlagPutsTheClockInTheTopmostBand) {
    start(FLAG_SNAP_TO_EDGES | FLAG_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    clock.reset();

    start(FLAG_SNAP_TO_EDGES);
    EXPECT_FALSE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Placement, ClockOnTheRightEdgeGrowsToTheLeft) {
    // The time grows by a digit when 9:59 turns into 10:00.
    writeSettingDword("Flags", FLAG_SNAP_TO_EDGES | FLAG_DATE_HIDDEN);
    writeSettingDword("PosX", 300);
    writeSettingDword("PosY", 200);
    FakeTimeClock fake(folder, "2010-04-01 09:59:35");
    ASSERT_TRUE(fake.started());
    const HWND clockWindow = fake.hwnd();
    const RECT area = workArea();
    RECT r;
    GetWindowRect(clockWindow, &r);
    const int narrow = width(r);
    dragTo(clockWindow, area.right - narrow - 5, 300);
    GetWindowRect(clockWindow, &r);
    ASSERT_EQ(area.right, r.right);

    struct Growth {
        HWND window;
        int narrow;
    } growth = {clockWindow, narrow};
    ASSERT_TRUE(waitUntil(
        40000,
        [](void* context) {
            auto* g = static_cast<Growth*>(context);
            RECT now;
            GetWindowRect(g->window, &now);
            return width(now) > g->narrow;
        },
        &growth));
    GetWindowRect(clockWindow, &r);
    EXPECT_EQ(area.right, r.right);
    EXPECT_EQ(300, r.top);

    // The drag's corner, not the grown window's, is what saving stores.
    SendMessageA(clockWindow, WM_COMMAND, CMD_SAVE_POSITION, 0);
    DWORD x = 0;
    ASSERT_TRUE(readSettingDword("PosX", &x));
    EXPECT_EQ(area.right - narrow, static_cast<LONG>(x));
}

// A visible top-level window of this program in the topmost band.
class TopmostWindow {
public:
    TopmostWindow() {
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 600, 500, 40,
                                 20, nullptr, nullptr, nullptr, nullptr);
    }
    ~TopmostWindow() { DestroyWindow(window); }
    HWND hwnd() const { return window; }

private:
    HWND window;
};

bool clockDirectlyBelow(HWND window, HWND clockWindow) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return GetWindow(window, GW_HWNDNEXT) == clockWindow;
}

TEST_F(Placement, TopmostClockGoesDirectlyUnderAnotherProgramsFirstWindow) {
    for (bool topmost : {true, false}) {
        SCOPED_TRACE(topmost ? "topmost" : "normal");
        start(FLAG_SNAP_TO_EDGES | (topmost ? FLAG_TOPMOST : 0));
        // Z order: first, second, then the clock.
        TopmostWindow first, second;
        // Placing another program's window takes effect when that program
        // handles it; the sent message waits for that.
        SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageA(window(), WM_NULL, 0, 0);
        SetWindowPos(second.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(first.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_EQ(first.hwnd(), GetTopWindow(nullptr));
        ASSERT_EQ(second.hwnd(), GetWindow(first.hwnd(), GW_HWNDNEXT));
        // Within two even seconds the upkeep puts the clock directly under the first.
        const ULONGLONG end = GetTickCount64() + 4500;
        bool below = false;
        while (!below && GetTickCount64() < end) {
            below = clockDirectlyBelow(first.hwnd(), window());
            if (!below) Sleep(50);
        }
        EXPECT_EQ(topmost, below);
        clock.reset();
    }
}

TEST_F(Placement, PositionOffEveryMonitorIsBroughtOntoTheWorkArea) {
    writeSettingDword("Flags", FLAG_SNAP_TO_EDGES);
    writeSettingDword("PosX", static_cast<DWORD>(-30000));
    writeSettingDword("PosY", 20000);
    clock.reset(new RunningClock(folder));
    ASSERT_TRUE(clock->started());
    const RECT area = workArea();
    const RECT r = clock->rect();
    EXPECT_GE(r.left, area.left);
    EXPECT_LE(r.right, area.right);
    EXPECT_GE(r.top, area.top);
    EXPECT_LE(r.bottom, area.bottom);

    // The saved position is left alone until the user saves the corrected one.
    DWORD x = 0, y = 0;
    ASSERT_TRUE(readSettingDword("PosX", &x));
    ASSERT_TRUE(readSettingDword("PosY", &y));
    EXPECT_EQ(static_cast<DWORD>(-30000), x);
    EXPECT_EQ(20000u, y);
    clock->command(CMD_SAVE_POSITION);
    ASSERT_TRUE(readSettingDword("PosX", &x));
    ASSERT_TRUE(readSettingDword("PosY", &y));
    const POINT saved = {static_cast<LONG>(x), static_cast<LONG>(y)};
    EXPECT_TRUE(PtInRect(&area, saved)) << saved.x << "," << saved.y;

    // The next system change puts the window back at the corrected corner.
    SendMessageA(window(), WM_DISPLAYCHANGE, 32, MAKELPARAM(area.right, area.bottom));
    EXPECT_EQ(saved.x, clock->rect().left);
    EXPECT_EQ(saved.y, clock->rect().top);
}

TEST_F(Placement, PartlyVisiblePositionIsKept) {
    const RECT area = workArea();
    // Off the right edge, and a little off the left or top edge, as a drag
    // without snapping leaves it: most of the face is on the screen.
    const POINT corners[] = {{area.right - 10, 100}, {-20, 100}, {100, -5}};
    for (const POINT& corner : corners) {
        SCOPED_TRACE(std::to_string(corner.x) + "," + std::to_string(corner.y));
        startAt(0, static_cast<DWORD>(corner.x), static_cast<DWORD>(corner.y));
        EXPECT_EQ(corner.x, clock->rect().left);
        EXPECT_EQ(corner.y, clock->rect().top);
        clock.reset();
    }
}

}  // namespace
