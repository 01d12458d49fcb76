// The running clock's text over time, with its wall clock shifted to a chosen
// moment. The text is not readable from outside, so the face is compared as
// pixels: over time with itself, and with a clock started afresh at the moment
// the text should show.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "e2e/ClockTest.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_SNAP_TO_EDGES = 0x2;
constexpr DWORD FLAG_SHOW_SECONDS = 0x40000;

// One face image and when it first appeared, in milliseconds from the first capture.
struct FaceChange {
    ULONGLONG atMs;
    WindowImage image;
};

// Time for a clock just shown to finish its first painting.
constexpr DWORD FIRST_PAINT_MS = 500;

// The distinct faces shown during `durationMs` after the first painting, in
// order, captured every 50 ms. A face counts once two captures in a row show it,
// so a capture taken halfway through a repaint is not taken for a change. With
// `quietAfterChangeMs`, the watch ends that long after the first change instead:
// a clock that was slow to start (under load or under emulation) still shows its
// first change, and no time is spent after it.
std::vector<FaceChange> watchFace(HWND window, DWORD durationMs, DWORD quietAfterChangeMs = 0) {
    Sleep(FIRST_PAINT_MS);
    std::vector<FaceChange> changes;
    FaceChange seen{};
    const ULONGLONG start = GetTickCount64();
    for (ULONGLONG now = start; now - start < durationMs; now = GetTickCount64()) {
        WindowImage image = captureClient(window);
        const bool settled = image == seen.image;
        if (!settled) seen = {now - start, std::move(image)};
        if (settled && (changes.empty() || changes.back().image != seen.image)) changes.push_back(seen);
        if (quietAfterChangeMs && changes.size() > 1 && now - start > changes[1].atMs + quietAfterChangeMs) break;
        Sleep(50);
    }
    return changes;
}

// The face of a clock started afresh at `start`, once it has painted.
WindowImage freshFace(const ProgramFolder& folder, const char* start) {
    FakeTimeClock clock(folder, start);
    EXPECT_TRUE(clock.started());
    if (!clock.started()) return {};
    Sleep(FIRST_PAINT_MS);
    return captureClient(clock.hwnd());
}

// True when the two images differ somewhere in their left two thirds, where the
// date is; the time fills about the last quarter of the face.
bool leftPartsDiffer(const WindowImage& a, const WindowImage& b) {
    const int width = (a.width < b.width ? a.width : b.width) * 2 / 3;
    const int height = a.height < b.height ? a.height : b.height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (a.pixels[y * a.width + x] != b.pixels[y * b.width + x]) return true;
        }
    }
    return false;
}

using ClockTime = ClockTest;

TEST_F(ClockTime, WithoutSecondsTheTextChangesOnceOnTheNewMinute) {
    std::vector<FaceChange> changes;
    {
        FakeTimeClock clock(folder, "2010-04-01 12:34:45");
        ASSERT_TRUE(clock.started());
        changes = watchFace(clock.hwnd(), 20000, 2500);
    }
    // 12:34 for the last seconds of the minute, then 12:35 and nothing more.
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].image, freshFace(folder, "2010-04-01 12:35:30"));
    EXPECT_EQ(changes[0].image, freshFace(folder, "2010-04-01 12:34:10"));
}

TEST_F(ClockTime, WithSecondsTheTextChangesEverySecond) {
    writeSettingDword("Flags", FLAG_SNAP_TO_EDGES | FLAG_SHOW_SECONDS);
    std::vector<FaceChange> changes;
    {
        FakeTimeClock clock(folder, "2010-04-01 12:34:50");
        ASSERT_TRUE(clock.started());
        changes = watchFace(clock.hwnd(), 4500);
    }
    // Four or five seconds are shown; never two changes within one second.
    EXPECT_GE(changes.size(), 4u);
    EXPECT_LE(changes.size(), 6u);
    for (size_t i = 2; i < changes.size(); ++i) EXPECT_GT(changes[i].atMs - changes[i - 1].atMs, 500u) << i;
}

TEST_F(ClockTime, TheDateChangesAtMidnight) {
    std::vector<FaceChange> changes;
    {
        FakeTimeClock clock(folder, "2010-04-01 23:59:45");
        ASSERT_TRUE(clock.started());
        changes = watchFace(clock.hwnd(), 20000, 2500);
    }
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(leftPartsDiffer(changes[0].image, changes[1].image));
    EXPECT_EQ(changes[1].image, freshFace(folder, "2010-04-02 00:00:30"));
}

}  // namespace
