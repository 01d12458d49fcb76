// Fixtures of the end-to-end tests: a fresh program folder, with the clock's
// registry key deleted before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "e2e/ClockHarness.h"

namespace harness {

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override { deleteSettings(); }
    void TearDown() override { deleteSettings(); }

    ProgramFolder folder;
};

// The same, with one clock that the test starts on chosen settings.
class StartedClockTest : public ClockTest {
protected:
    void TearDown() override {
        clock.reset();
        ClockTest::TearDown();
    }

    // Starts the clock with the given Flags at the given corner; when this
    // returns, the clock has finished starting (it answers from its message loop).
    void startAt(DWORD flags, DWORD x, DWORD y) {
        writeSettingDword("Flags", flags);
        writeSettingDword("PosX", x);
        writeSettingDword("PosY", y);
        clock.reset(new RunningClock(folder));
        ASSERT_TRUE(clock->started());
        SendMessageA(clock->hwnd(), WM_NULL, 0, 0);
    }

    std::unique_ptr<RunningClock> clock;
};

}  // namespace harness
