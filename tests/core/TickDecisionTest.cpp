#include <gtest/gtest.h>

#include "app/TickDecision.h"

namespace {

TEST(TickDecision, SecondsHiddenRefreshOnlyOnNewMinuteOrDate) {
    const SYSTEMTIME shown = makeSystemTime(2026, 12, 8, 9, 30, 0);
    TickDecision d = decideTick(shown, makeSystemTime(2026, 12, 8, 9, 30, 1), false);
    EXPECT_FALSE(d.sameSecond);
    EXPECT_FALSE(d.refreshFace);

    d = decideTick(shown, makeSystemTime(2026, 12, 8, 9, 31, 1), false);
    EXPECT_TRUE(d.minuteChanged);
    EXPECT_FALSE(d.dateChanged);
    EXPECT_TRUE(d.refreshFace);

    d = decideTick(makeSystemTime(2026, 12, 31, 23, 59, 10), makeSystemTime(2027, 1, 1, 0, 0, 0), false);
    EXPECT_TRUE(d.dateChanged);
    EXPECT_TRUE(d.minuteChanged);
    EXPECT_TRUE(d.refreshFace);
}

TEST(TickDecision, ADayListTheFileWithheldIsReadAgainAtEachNewMinute) {
    const SYSTEMTIME shown = makeSystemTime(2026, 12, 8, 9, 30, 0);
    EXPECT_TRUE(decideTick(shown, makeSystemTime(2026, 12, 8, 9, 31, 1), false, true).reloadDay);
    EXPECT_FALSE(decideTick(shown, makeSystemTime(2026, 12, 8, 9, 31, 1), false, false).reloadDay);
    EXPECT_FALSE(decideTick(shown, makeSystemTime(2026, 12, 8, 9, 30, 1), true, true).reloadDay);
    EXPECT_TRUE(decideTick(shown, makeSystemTime(2026, 12, 9, 9, 30, 1), false, false).reloadDay);
}

TEST(TickDecision, SameSecondDoesNothingEvenAcrossAMinute) {
    // With seconds hidden `now` keeps the second of the moment it was taken, so
    // the one tick a minute whose second equals it is skipped.
    const SYSTEMTIME shown = makeSystemTime(2026, 12, 8, 9, 30, 7);
    TickDecision d = decideTick(shown, makeSystemTime(2026, 12, 8, 9, 31, 7), true);
    EXPECT_TRUE(d.sameSecond);
    EXPECT_FALSE(d.refreshFace);
    d = decideTick(shown, makeSystemTime(2026, 12, 8, 9, 30, 7), true);
    EXPECT_TRUE(d.sameSecond);
    EXPECT_FALSE(d.refreshFace);
}

TEST(TickDecision, SecondsShownRefreshEveryNewSecond) {
    const SYSTEMTIME shown = makeSystemTime(2026, 12, 8, 9, 30, 7);
    TickDecision d = decideTick(shown, makeSystemTime(2026, 12, 8, 9, 30, 8), true);
    EXPECT_TRUE(d.refreshFace);
    EXPECT_FALSE(d.minuteChanged);
    EXPECT_FALSE(d.dateChanged);
}

TEST(TickDecision, DateChangeIsSeenOnEachDatePart) {
    const SYSTEMTIME shown = makeSystemTime(2026, 12, 8, 9, 30, 7);
    EXPECT_TRUE(decideTick(shown, makeSystemTime(2027, 12, 8, 9, 30, 8), false).dateChanged);
    EXPECT_TRUE(decideTick(shown, makeSystemTime(2026, 11, 8, 9, 30, 8), false).dateChanged);
    EXPECT_TRUE(decideTick(shown, makeSystemTime(2026, 12, 9, 9, 30, 8), false).dateChanged);
    EXPECT_TRUE(decideTick(shown, makeSystemTime(2026, 12, 8, 10, 30, 8), false).minuteChanged);
}

}  // namespace
