// The per-tick update of a real clock object on a window of this process, with
// the local time given by the test instead of the system.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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
    void tickAt(const SYSTEMTIME& t) {
        givenTime = t;
        clock->tick();
    }

    LocalTimeSource systemTime = nullptr;
};

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
