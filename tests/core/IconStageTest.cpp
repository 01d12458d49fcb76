#include <gtest/gtest.h>

#include "schedule/IconStage.h"
#include "schedule/ScheduleRecordArray.h"

namespace {

TEST(IconStage, StepsAtMostOnceAPassAtFiveTenFifteenAndThirtyMinutes) {
    EXPECT_EQ(steppedIconStage(STAGE_UPRIGHT, 4), STAGE_UPRIGHT);
    EXPECT_EQ(steppedIconStage(STAGE_UPRIGHT, 5), STAGE_MAGENTA);
    EXPECT_EQ(steppedIconStage(STAGE_MAGENTA, 9), STAGE_MAGENTA);
    EXPECT_EQ(steppedIconStage(STAGE_MAGENTA, 10), STAGE_RED);
    EXPECT_EQ(steppedIconStage(STAGE_RED, 14), STAGE_RED);
    EXPECT_EQ(steppedIconStage(STAGE_RED, 15), STAGE_RED_STROKES);
    EXPECT_EQ(steppedIconStage(STAGE_RED_STROKES, 29), STAGE_RED_STROKES);
    EXPECT_EQ(steppedIconStage(STAGE_RED_STROKES, 30), STAGE_OLIVE);

    // A late announcement climbs one stage per pass to what its age calls for.
    uint8_t stage = STAGE_UPRIGHT;
    const uint8_t expected[] = {STAGE_MAGENTA, STAGE_RED, STAGE_RED_STROKES, STAGE_OLIVE, STAGE_OLIVE};
    for (uint8_t next : expected) {
        stage = steppedIconStage(stage, 90);
        EXPECT_EQ(stage, next);
    }
    // The blinking pictures and the last stage never step here, whatever the age.
    EXPECT_EQ(steppedIconStage(STAGE_SWING_A, 1000), STAGE_SWING_A);
    EXPECT_EQ(steppedIconStage(STAGE_SWING_B, 1000), STAGE_SWING_B);
    EXPECT_EQ(steppedIconStage(STAGE_OLIVE, UINT64_MAX), STAGE_OLIVE);
}

ScheduleRecord numbered(uint32_t n) {
    ScheduleRecord record{};
    record.duplicateIndex = n;
    return record;
}

TEST(ScheduleRecordArray, GrowsInStepsKeepingOrderAndStopsAtItsBound) {
    ScheduleRecordArray unbounded;
    for (uint32_t i = 0; i < 250; ++i) {
        ASSERT_TRUE(unbounded.reserveOne());
        unbounded.add(numbered(i));
    }
    ASSERT_EQ(unbounded.size(), 250u);
    for (uint32_t i = 0; i < 250; ++i) EXPECT_EQ(unbounded[i].duplicateIndex, i);

    ScheduleRecordArray bounded(ScheduleRecordArray::GROWTH);
    for (uint32_t i = 0; i < ScheduleRecordArray::GROWTH; ++i) {
        ASSERT_TRUE(bounded.reserveOne());
        bounded.add(numbered(i));
    }
    EXPECT_FALSE(bounded.reserveOne());
    ASSERT_EQ(bounded.size(), ScheduleRecordArray::GROWTH);
    EXPECT_EQ(bounded[99].duplicateIndex, 99u);

    ScheduleRecordArray none(0);
    EXPECT_FALSE(none.reserveOne());
}

}  // namespace
