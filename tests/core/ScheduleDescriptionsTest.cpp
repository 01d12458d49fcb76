// The texts that show a schedule to the user, byte for byte in code page 932.
#include <gtest/gtest.h>

#include <string>

#include "schedule/ScheduleDescriptions.h"

namespace {

ScheduleRecord record(uint32_t type, WORD year, WORD month, WORD dayOfWeek, WORD day, WORD hour, WORD minute,
                      uint32_t weekOfMonth = 0) {
    ScheduleRecord r = {};
    r.type = type;
    r.when = {year, month, dayOfWeek, day, hour, minute, 0, 0};
    r.weekOfMonth = weekOfMonth;
    return r;
}

std::string text(const TextBuffer& buffer) { return buffer.c_str(); }

TEST(ScheduleDescriptions, TypeAndRecurrenceOfEveryKind) {
    struct Row {
        ScheduleRecord schedule;
        const char* type;
        const char* recurrence;
    };
    const Row rows[] = {
        {record(SpecificDate, 2006, 3, 0, 5, 9, 0), "特定の日", "2006年3月5日 (日)"},
        // The stored weekday is shown, not one worked out from the date; a year below 1000 is padded.
        {record(SpecificDate, 999, 12, 3, 31, 9, 0), "特定の日", "0999年12月31日 (水)"},
        {record(SpecificDate, 2006, 3, 7, 5, 9, 0), "特定の日", "2006年3月5日 (土)"},
        {record(Weekday, 0, 0, 1, 0, 9, 0, 0), "特定の曜日", "毎週 月曜日"},
        {record(Weekday, 0, 0, 1, 0, 9, 0, 1), "特定の曜日", "毎月 第1 月曜日"},
        {record(Weekday, 0, 0, 3, 0, 9, 0, 2), "特定の曜日", "毎月 第2 水曜日"},
        {record(Weekday, 0, 0, 4, 0, 9, 0, 3), "特定の曜日", "毎月 第3 木曜日"},
        {record(Weekday, 0, 0, 6, 0, 9, 0, 4), "特定の曜日", "毎月 第4 土曜日"},
        {record(Weekday, 0, 0, 5, 0, 9, 0, 5), "特定の曜日", "毎月 最終 金曜日"},
        {record(Weekday, 0, 0, 2, 0, 9, 0, 9), "特定の曜日", "毎月 最終 火曜日"},
        {record(Weekday, 0, 0, 0xFFFF, 0, 9, 0, 0), "特定の曜日", "毎週 土曜日"},
        {record(Monthly, 0, 0, 0, 15, 9, 0), "月に一度", "毎月 15日"},
        {record(Monthly, 0, 0, 0, 31, 9, 0), "月に一度", "毎月 31日"},
        {record(Yearly, 0, 12, 0, 25, 9, 0), "年に一度", "毎年 12月25日"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.recurrence);
        TextBuffer out;
        ASSERT_TRUE(describeType(row.schedule, out));
        EXPECT_EQ(text(out), row.type);
        ASSERT_TRUE(describeRecurrence(row.schedule, out));
        EXPECT_EQ(text(out), row.recurrence);
    }
}

TEST(ScheduleDescriptions, UnknownTypeLeavesTheBufferAsItWas) {
    TextBuffer out;
    out.assign("前の値");
    const ScheduleRecord unknown = record(4, 2006, 3, 0, 5, 9, 0);
    EXPECT_FALSE(describeType(unknown, out));
    EXPECT_FALSE(describeRecurrence(unknown, out));
    EXPECT_EQ(text(out), "前の値");
    // The time does not depend on the type.
    EXPECT_TRUE(describeTime(unknown, out));
    EXPECT_EQ(text(out), "午前 9:00");
}

TEST(ScheduleDescriptions, TimeOfDayOnTheTwelveHourClock) {
    const struct {
        WORD hour, minute;
        const char* expected;
    } rows[] = {{0, 5, "午前 12:05"}, {1, 0, "午前 1:00"},   {9, 5, "午前 9:05"},  {9, 30, "午前 9:30"},
                {11, 59, "午前 11:59"}, {12, 0, "午後 12:00"}, {13, 7, "午後 1:07"}, {23, 59, "午後 11:59"}};
    for (const auto& row : rows) {
        TextBuffer out;
        ASSERT_TRUE(describeTime(record(Monthly, 0, 0, 0, 1, row.hour, row.minute), out));
        EXPECT_EQ(text(out), row.expected);
    }
    // The literals here and in the program are code page 932 bytes, as the dialogs show them.
    TextBuffer out;
    describeTime(record(Monthly, 0, 0, 0, 1, 0, 5), out);
    EXPECT_EQ(text(out), "\x8c\xdf\x91\x4f 12:05");
}

TEST(ScheduleDescriptions, LastAnnouncementOrNothing) {
    ScheduleRecord r = record(Weekday, 0, 0, 5, 0, 9, 0);
    TextBuffer out;
    out.assign("前の値");
    // Never announced: all zeros, or any year before 1600, gives an empty text.
    ASSERT_TRUE(describeLastNotified(r, out));
    EXPECT_EQ(out.data, nullptr);
    r.lastNotified = {1599, 12, 5, 31, 23, 59, 0, 0};
    out.assign("前の値");
    ASSERT_TRUE(describeLastNotified(r, out));
    EXPECT_EQ(text(out), "");

    r.lastNotified = {2006, 7, 5, 14, 13, 5, 42, 0};
    ASSERT_TRUE(describeLastNotified(r, out));
    EXPECT_EQ(text(out), "2006年7月14日 (金) 午後 1:05");
    r.lastNotified = {1600, 1, 9, 1, 0, 0, 0, 0};
    ASSERT_TRUE(describeLastNotified(r, out));
    EXPECT_EQ(text(out), "1600年1月1日 (土) 午前 12:00");
}

}  // namespace
