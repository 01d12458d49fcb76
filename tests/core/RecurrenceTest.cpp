#include <gtest/gtest.h>

#include <vector>

#include "ScheduleFiles.h"
#include "schedule/ScheduleRecord.h"

namespace {

// Every day of a year as GetLocalTime would give it (weekday filled in), with the
// facts the expectations are built from, found by walking the calendar rather
// than by the rules under test.
struct Day {
    SYSTEMTIME date;
    uint16_t daysInMonth;  // from daysInMonthOf, checked separately
    bool lastOfMonth;      // tomorrow is in another month
    unsigned weekdayIndex; // 1 for the first such weekday of the month, 2 for the second...
    bool lastWeekday;      // the same weekday does not come again this month
};

SYSTEMTIME shifted(const SYSTEMTIME& date, long days) {
    FILETIME ft;
    EXPECT_TRUE(SystemTimeToFileTime(&date, &ft));
    const FILETIME moved = fileTimeFromValue(fileTimeValue(ft) + static_cast<ULONGLONG>(days) * FILETIME_DAY);
    SYSTEMTIME out;
    EXPECT_TRUE(FileTimeToSystemTime(&moved, &out));
    return out;
}

std::vector<Day> wholeYear(WORD year) {
    std::vector<Day> days;
    for (SYSTEMTIME d = shifted(makeSystemTime(year, 1, 1), 0); d.wYear == year; d = shifted(d, 1)) {
        Day day{};
        day.date = d;
        day.daysInMonth = daysInMonthOf(d);
        day.lastOfMonth = shifted(d, 1).wMonth != d.wMonth;
        day.lastWeekday = shifted(d, 7).wMonth != d.wMonth;
        day.weekdayIndex = 1;
        for (SYSTEMTIME back = shifted(d, -7); back.wMonth == d.wMonth; back = shifted(back, -7)) ++day.weekdayIndex;
        days.push_back(day);
    }
    return days;
}

ScheduleRecord recordFor(uint32_t type, WORD year, WORD month, WORD dayOfWeek, WORD day, uint32_t week = 0) {
    SYSTEMTIME when{};
    when.wYear = year;
    when.wMonth = month;
    when.wDayOfWeek = dayOfWeek;
    when.wDay = day;
    when.wHour = 9;
    return makeScheduleRecord(type, when, week, 0);
}

bool firesOn(const ScheduleRecord& record, WORD year, WORD month, WORD day) {
    const SYSTEMTIME date = shifted(makeSystemTime(year, month, day), 0);
    return occursOn(record, date, daysInMonthOf(date));
}

const WORD YEARS[] = {2023, 2024, 2100, 2000};  // common, leap, century common, century leap

TEST(Recurrence, DaysInMonthFollowTheCalendar) {
    const uint16_t common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (WORD year : YEARS) {
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        for (WORD month = 1; month <= 12; ++month) {
            const uint16_t expected = month == 2 && leap ? 29 : common[month - 1];
            EXPECT_EQ(daysInMonthOf(makeSystemTime(year, month, 15)), expected) << year << "-" << month;
        }
    }
    // A month that does not exist has no next month to step back from.
    EXPECT_EQ(daysInMonthOf(makeSystemTime(2024, 13, 1)), 0);
    EXPECT_EQ(daysInMonthOf(makeSystemTime(2024, 12, 1)), 31) << "December steps into the next year";
}

TEST(Recurrence, SpecificDateFiresOnItsOneDateOnly) {
    const ScheduleRecord leapDay = recordFor(SpecificDate, 2024, 2, 0, 29);
    for (WORD year : {WORD(2024), WORD(2025)}) {
        for (const Day& d : wholeYear(year)) {
            const bool expected = year == 2024 && d.date.wMonth == 2 && d.date.wDay == 29;
            EXPECT_EQ(occursOn(leapDay, d.date, d.daysInMonth), expected) << d.date.wMonth << "/" << d.date.wDay;
        }
    }
}

TEST(Recurrence, MonthlyFiresOnItsDayOrOnTheLastDayOfShorterMonths) {
    for (WORD year : YEARS) {
        for (WORD wanted = 1; wanted <= 31; ++wanted) {
            const ScheduleRecord record = recordFor(Monthly, 0, 0, 0, wanted);
            for (const Day& d : wholeYear(year)) {
                const bool expected = d.date.wDay == wanted || (d.lastOfMonth && d.date.wDay < wanted);
                ASSERT_EQ(occursOn(record, d.date, d.daysInMonth), expected)
                    << "day " << wanted << " on " << year << "-" << d.date.wMonth << "-" << d.date.wDay;
            }
        }
    }
    const ScheduleRecord day31 = recordFor(Monthly, 0, 0, 0, 31);
    EXPECT_TRUE(firesOn(day31, 2025, 4, 30));
    EXPECT_TRUE(firesOn(day31, 2025, 2, 28));
    EXPECT_TRUE(firesOn(day31, 2024, 2, 29));
    EXPECT_FALSE(firesOn(day31, 2024, 2, 28));
    EXPECT_TRUE(firesOn(day31, 2025, 5, 31));
    const ScheduleRecord day30 = recordFor(Monthly, 0, 0, 0, 30);
    EXPECT_TRUE(firesOn(day30, 2025, 2, 28));
    EXPECT_TRUE(firesOn(day30, 2025, 4, 30));
    EXPECT_FALSE(firesOn(day30, 2025, 5, 31));
}

TEST(Recurrence, YearlyFiresOnItsDayOfItsMonth) {
    for (WORD year : YEARS) {
        const std::vector<Day> days = wholeYear(year);
        for (WORD month = 1; month <= 12; ++month) {
            for (WORD wanted : {WORD(1), WORD(15), WORD(28), WORD(29), WORD(30), WORD(31)}) {
                const ScheduleRecord record = recordFor(Yearly, 0, month, 0, wanted);
                int fired = 0;
                for (const Day& d : days) {
                    const bool expected = d.date.wMonth == month &&
                                          (d.date.wDay == wanted || (d.lastOfMonth && d.date.wDay < wanted));
                    ASSERT_EQ(occursOn(record, d.date, d.daysInMonth), expected)
                        << month << "/" << wanted << " on " << year << "-" << d.date.wMonth << "-" << d.date.wDay;
                    fired += expected;
                }
                EXPECT_EQ(fired, 1) << "once a year: " << month << "/" << wanted;
            }
        }
    }
    const ScheduleRecord leapDay = recordFor(Yearly, 0, 2, 0, 29);
    EXPECT_TRUE(firesOn(leapDay, 2023, 2, 28));
    EXPECT_TRUE(firesOn(leapDay, 2024, 2, 29));
    EXPECT_FALSE(firesOn(leapDay, 2024, 2, 28));
    EXPECT_TRUE(firesOn(recordFor(Yearly, 0, 2, 0, 31), 2024, 2, 29));
    EXPECT_TRUE(firesOn(recordFor(Yearly, 0, 2, 0, 30), 2023, 2, 28));
    EXPECT_TRUE(firesOn(recordFor(Yearly, 0, 4, 0, 31), 2023, 4, 30));
}

TEST(Recurrence, WeekdayFiresInTheChosenWeeksOfEveryMonth) {
    for (WORD year : YEARS) {
        const std::vector<Day> days = wholeYear(year);
        for (WORD weekday = 0; weekday < 7; ++weekday) {
            for (uint32_t week = 0; week <= 5; ++week) {
                const ScheduleRecord record = recordFor(Weekday, 0, 0, weekday, 0, week);
                for (const Day& d : days) {
                    bool expected = d.date.wDayOfWeek == weekday;
                    if (week >= 1 && week <= 4) expected = expected && d.weekdayIndex == week;
                    if (week == 5) expected = expected && d.lastWeekday;
                    ASSERT_EQ(occursOn(record, d.date, d.daysInMonth), expected)
                        << "weekday " << weekday << " week " << week << " on " << year << "-" << d.date.wMonth
                        << "-" << d.date.wDay;
                }
            }
        }
    }
    // 2025-03: the 1st is a Saturday, the 31st a Monday.
    const ScheduleRecord mondayWeek1 = recordFor(Weekday, 0, 0, 1, 0, 1);
    EXPECT_TRUE(firesOn(mondayWeek1, 2025, 3, 3));
    EXPECT_FALSE(firesOn(mondayWeek1, 2025, 3, 10));
    const ScheduleRecord mondayWeek4 = recordFor(Weekday, 0, 0, 1, 0, 4);
    EXPECT_TRUE(firesOn(mondayWeek4, 2025, 3, 24));
    EXPECT_FALSE(firesOn(mondayWeek4, 2025, 3, 31));
    const ScheduleRecord mondayLast = recordFor(Weekday, 0, 0, 1, 0, 5);
    EXPECT_TRUE(firesOn(mondayLast, 2025, 3, 31));
    EXPECT_FALSE(firesOn(mondayLast, 2025, 3, 24));
    // 2025-08-25 and 2025-08-24 are a Monday and a Sunday of a 31-day month.
    EXPECT_TRUE(firesOn(mondayLast, 2025, 8, 25));
    EXPECT_FALSE(firesOn(recordFor(Weekday, 0, 0, 0, 0, 5), 2025, 8, 24));
    // A 28-day February: its last week is days 22 to 28.
    EXPECT_TRUE(firesOn(recordFor(Weekday, 0, 0, 0, 0, 5), 2026, 2, 22));
}

TEST(Recurrence, TypesAndWeeksOutOfRangeNeverFire) {
    const ScheduleRecord unknownTypes[] = {recordFor(4, 2024, 2, 0, 29), recordFor(0xFFFFFFFF, 0, 1, 1, 1),
                                           recordFor(Weekday, 0, 0, 1, 0, 6),
                                           recordFor(Weekday, 0, 0, 1, 0, 0xFFFFFFFF)};
    for (const ScheduleRecord& record : unknownTypes) {
        for (WORD year : YEARS) {
            for (const Day& d : wholeYear(year)) ASSERT_FALSE(occursOn(record, d.date, d.daysInMonth));
        }
    }
    // Before the days of the month are known (0) no month-end rule fires.
    EXPECT_FALSE(occursOn(recordFor(Monthly, 0, 0, 0, 31), makeSystemTime(2025, 1, 31), 0));
    EXPECT_FALSE(occursOn(recordFor(Weekday, 0, 0, 0, 0, 5), makeSystemTime(2025, 1, 5), 0));
}

TEST(Recurrence, PendingMissedAndDue) {
    const SYSTEMTIME today = shifted(makeSystemTime(2025, 3, 10, 10, 30), 0);
    const uint16_t days = daysInMonthOf(today);
    ScheduleRecord monday = recordFor(Weekday, 0, 0, 1, 0);
    EXPECT_TRUE(pendingOn(monday, today, days));
    monday.lastNotified = makeSystemTime(2025, 3, 10, 9, 0);
    EXPECT_FALSE(pendingOn(monday, today, days)) << "already announced today";
    monday.lastNotified = makeSystemTime(2025, 3, 3, 9, 0);
    EXPECT_TRUE(pendingOn(monday, today, days));

    EXPECT_TRUE(missedBefore(recordFor(SpecificDate, 2025, 3, 0, 9), today, days));
    EXPECT_TRUE(missedBefore(recordFor(SpecificDate, 2024, 12, 0, 31), today, days));
    EXPECT_FALSE(missedBefore(recordFor(SpecificDate, 2025, 3, 0, 10), today, days)) << "today is not missed";
    EXPECT_FALSE(missedBefore(recordFor(SpecificDate, 2025, 3, 0, 11), today, days));
    EXPECT_FALSE(missedBefore(recordFor(SpecificDate, 2026, 1, 0, 1), today, days));
    EXPECT_FALSE(missedBefore(recordFor(Yearly, 0, 1, 0, 1), today, days)) << "only one-time schedules are missed";

    ScheduleRecord at = recordFor(Weekday, 0, 0, 1, 0);
    at.when.wHour = 10;
    at.when.wMinute = 30;
    EXPECT_TRUE(dueAt(at, today));
    at.when.wMinute = 31;
    EXPECT_FALSE(dueAt(at, today));
    at.when.wHour = 9;
    at.when.wMinute = 59;
    EXPECT_TRUE(dueAt(at, today));
    at.when.wHour = 11;
    at.when.wMinute = 0;
    EXPECT_FALSE(dueAt(at, today));
}

TEST(Recurrence, DueTimeIsTodayAtTheRecordsTime) {
    SYSTEMTIME today = shifted(makeSystemTime(2025, 3, 10, 10, 30), 0);
    today.wSecond = 42;
    ScheduleRecord record = recordFor(Yearly, 1999, 7, 0, 4);
    record.when.wHour = 23;
    record.when.wMinute = 59;
    record.when.wSecond = 30;
    ULONGLONG due = 0;
    ASSERT_TRUE(dueTimeOn(record, today, due));
    FILETIME midnight;
    const SYSTEMTIME start = makeSystemTime(2025, 3, 10);
    ASSERT_TRUE(SystemTimeToFileTime(&start, &midnight));
    EXPECT_EQ(due, fileTimeValue(midnight) + (23 * 60 + 59) * FILETIME_MINUTE);

    record.when.wHour = 24;  // no such time: the due time is left alone
    due = 7;
    EXPECT_FALSE(dueTimeOn(record, today, due));
    EXPECT_EQ(due, 7u);
}

TEST(Recurrence, DefinitionKeyAndMinuteComparison) {
    ScheduleRecord a = recordFor(Weekday, 0, 0, 1, 0, 2);
    ScheduleRecord b = a;
    b.titleLength = 5;
    b.contentLength = 9;
    b.when.wSecond = 30;
    b.when.wMilliseconds = 12;
    b.lastNotified = makeSystemTime(2025, 1, 1, 1, 1);
    EXPECT_TRUE(sameDefinition(a, b)) << "texts, seconds and stamps are not part of the key";
    b.duplicateIndex = 1;
    EXPECT_FALSE(sameDefinition(a, b));
    EXPECT_TRUE(sameDefinitionIgnoringIndex(a, b));
    const auto differs = [&](void (*change)(ScheduleRecord&)) {
        ScheduleRecord c = a;
        change(c);
        return !sameDefinition(a, c) && !sameDefinitionIgnoringIndex(a, c);
    };
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.type = Monthly; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.when.wYear = 1; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.when.wMonth = 1; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.when.wDayOfWeek = 2; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.when.wDay = 1; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.when.wHour = 1; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.when.wMinute = 1; }));
    EXPECT_TRUE(differs([](ScheduleRecord& r) { r.weekOfMonth = 3; }));

    const SYSTEMTIME now = makeSystemTime(2025, 3, 10, 10, 30);
    SYSTEMTIME sameMinute = now;
    sameMinute.wSecond = 59;
    EXPECT_FALSE(laterToTheMinute(sameMinute, now));
    EXPECT_TRUE(laterToTheMinute(makeSystemTime(2025, 3, 10, 10, 31), now));
    EXPECT_TRUE(laterToTheMinute(makeSystemTime(2026, 1, 1), now));
    EXPECT_FALSE(laterToTheMinute(makeSystemTime(2025, 2, 28, 23, 59), now));
    EXPECT_FALSE(laterToTheMinute(SYSTEMTIME{}, now));
}

}  // namespace
