// What the schedule manager's rows show and how they filter and order.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "schedule/ScheduleRows.h"

namespace {

StoredSchedule* schedule(uint32_t type, SYSTEMTIME when, const char* content = "") {
    auto* s = new StoredSchedule;
    s->record = makeScheduleRecord(type, when, 0, 0);
    s->content.assign(content);
    return s;
}

TEST(ScheduleRows, EachFilterShowsItsTypeTodayAnyTypeAndAnUnknownIndexEverything) {
    // Tuesday 8 December 2026: the weekly Tuesday and the monthly 8th occur today.
    SYSTEMTIME today = makeSystemTime(2026, 12, 8, 10, 0);
    today.wDayOfWeek = 2;
    SYSTEMTIME tuesday = {0, 0, 2, 0, 9, 0, 0, 0};
    const ScheduleRecord records[] = {
        makeScheduleRecord(SpecificDate, makeSystemTime(2026, 12, 9), 0, 0),
        makeScheduleRecord(Weekday, tuesday, 0, 0),
        makeScheduleRecord(Monthly, {0, 0, 0, 8, 9, 0, 0, 0}, 0, 0),
        makeScheduleRecord(Yearly, {0, 3, 0, 8, 9, 0, 0, 0}, 0, 0),
    };
    const struct {
        int filter;
        const char* shown;  // one mark per record
    } rows[] = {
        {FILTER_TODAY, "-XX-"},   {FILTER_ALL, "XXXX"},    {FILTER_SPECIFIC_DATE, "X---"}, {FILTER_WEEKDAY, "-X--"},
        {FILTER_MONTHLY, "--X-"}, {FILTER_YEARLY, "---X"}, {FILTER_COUNT, "XXXX"},         {-1, "XXXX"},
    };
    for (const auto& row : rows) {
        std::string shown;
        for (const ScheduleRecord& record : records) shown += passesFilter(row.filter, record, today, 31) ? 'X' : '-';
        EXPECT_EQ(shown, row.shown) << "filter " << row.filter;
    }
}

TEST(ScheduleRows, CellsAreTheDescriptionsAndTheWholeContent) {
    std::unique_ptr<StoredSchedule> s(schedule(Yearly, {0, 12, 0, 25, 0, 5, 0, 0}, "一行目\r\n二行目"));
    const char* expected[] = {"年に一度", "毎年 12月25日", "午前 12:05", "一行目\r\n二行目", ""};
    TextBuffer cell;
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        ASSERT_TRUE(describeCell(*s, column, cell)) << column;
        EXPECT_STREQ(cell.c_str(), expected[column]) << column;
    }
    s->record.lastNotified = {2006, 7, 5, 14, 13, 5, 0, 0};
    ASSERT_TRUE(describeCell(*s, COLUMN_LAST_NOTIFIED, cell));
    EXPECT_STREQ(cell.c_str(), "2006年7月14日 (金) 午後 1:05");
    // A type the program does not know has no type cell, so it gets no row.
    s->record.type = 4;
    EXPECT_FALSE(describeCell(*s, COLUMN_TYPE, cell));
}

TEST(ScheduleRows, TextsOrderByCharacterNotByValue) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } rows[] = {
        {"午前 10:00", "午前 9:00", -1},
        {"毎年 12月25日", "毎年 2月1日", -1},
        {"午後 1:00", "午前 11:00", -1},  // 後 is 0x8CE3, 前 0x914F
        {"会議", "会議", 0},
        {"", "a", -1},
        {"会議", "会議室", -1},
        {"ｱ", "ア", -1},  // a single byte sorts below any double-byte character
        {"\x82", "\x82\xA0", -1},  // a lead byte at the end counts alone
    };
    for (const auto& row : rows) {
        EXPECT_EQ(compareText932(row.a, row.b), row.order) << row.a << " / " << row.b;
        EXPECT_EQ(compareText932(row.b, row.a), -row.order) << row.b << " / " << row.a;
    }
    // Only what a cell buffer holds takes part.
    std::string longA(CELL_COMPARE_BYTES, 'x'), longB = longA;
    longA += 'a';
    longB += 'b';
    EXPECT_EQ(compareText932(longA.c_str(), longB.c_str()), 0);
    EXPECT_LT(compareText932(longA.c_str(), longB.c_str(), CELL_COMPARE_BYTES + 1), 0);
}

TEST(ScheduleRows, SchedulesOrderByTheTextOfTheColumn) {
    std::unique_ptr<StoredSchedule> ten(schedule(Weekday, {0, 0, 1, 0, 10, 0, 0, 0}, "b"));
    std::unique_ptr<StoredSchedule> nine(schedule(Monthly, {0, 0, 0, 3, 9, 0, 0, 0}, "a"));
    EXPECT_LT(compareScheduleCells(*ten, *nine, COLUMN_TIME), 0);
    EXPECT_GT(compareScheduleCells(*ten, *nine, COLUMN_CONTENT), 0);
    EXPECT_EQ(compareScheduleCells(*ten, *nine, COLUMN_LAST_NOTIFIED), 0);
}

}  // namespace
