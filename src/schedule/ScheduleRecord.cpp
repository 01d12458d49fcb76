#include "schedule/ScheduleRecord.h"

void StoredSchedule::release() {
    title.release();
    content.release();
}

ScheduleRecord makeScheduleRecord(uint32_t type, const SYSTEMTIME& when, uint32_t weekOfMonth,
                                  uint32_t contentLength) {
    ScheduleRecord record{};
    record.recordSize = SCHEDULE_RECORD_SIZE;
    record.magic = SCHEDULE_MAGIC;
    record.contentLength = contentLength;
    record.type = type;
    record.when = when;
    record.weekOfMonth = weekOfMonth;
    return record;
}

uint16_t daysInMonthOf(const SYSTEMTIME& date) {
    // The day before the first of the next month is the last of this one; the
    // calendar conversion knows the leap years.
    SYSTEMTIME first{};
    first.wYear = date.wMonth == 12 ? static_cast<WORD>(date.wYear + 1) : date.wYear;
    first.wMonth = date.wMonth == 12 ? 1 : static_cast<WORD>(date.wMonth + 1);
    first.wDay = 1;
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&first, &fileTime)) return 0;
    const FILETIME lastDay = fileTimeFromValue(fileTimeValue(fileTime) - FILETIME_DAY);
    SYSTEMTIME last;
    if (!FileTimeToSystemTime(&lastDay, &last)) return 0;
    return last.wDay;
}

namespace {

// A day of the month that lies past the month's end stands for its last day.
bool dayOfMonthMatches(WORD wantedDay, WORD today, uint16_t daysInMonth) {
    if (wantedDay < daysInMonth) return today == wantedDay;
    return today == daysInMonth;
}

bool inWeekOfMonth(uint32_t weekOfMonth, WORD day, uint16_t daysInMonth) {
    if (weekOfMonth == WEEK_EVERY) return true;
    if (weekOfMonth < WEEK_LAST) {
        const unsigned first = (weekOfMonth - 1) * 7 + 1;
        return day >= first && day <= first + 6;
    }
    if (weekOfMonth == WEEK_LAST) return day + 7 > daysInMonth && day <= daysInMonth;
    return false;
}

bool sameDate(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

}  // namespace

bool occursOn(const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth) {
    const SYSTEMTIME& when = record.when;
    switch (record.type) {
    case SpecificDate:
        return sameDate(when, today);
    case Weekday:
        return when.wDayOfWeek == today.wDayOfWeek && inWeekOfMonth(record.weekOfMonth, today.wDay, daysInMonth);
    case Monthly:
        return dayOfMonthMatches(when.wDay, today.wDay, daysInMonth);
    case Yearly:
        return when.wMonth == today.wMonth && dayOfMonthMatches(when.wDay, today.wDay, daysInMonth);
    default:
        return false;
    }
}

bool pendingOn(const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth) {
    return occursOn(record, today, daysInMonth) && !sameDate(record.lastNotified, today);
}

bool missedBefore(const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth) {
    if (record.type != SpecificDate || occursOn(record, today, daysInMonth)) return false;
    const SYSTEMTIME& when = record.when;
    if (when.wYear != today.wYear) return when.wYear < today.wYear;
    if (when.wMonth != today.wMonth) return when.wMonth < today.wMonth;
    return when.wDay < today.wDay;
}

bool dueAt(const ScheduleRecord& record, const SYSTEMTIME& now) {
    const SYSTEMTIME& when = record.when;
    return when.wHour < now.wHour || (when.wHour == now.wHour && when.wMinute <= now.wMinute);
}

bool dueTimeOn(const ScheduleRecord& record, const SYSTEMTIME& today, ULONGLONG& dueTime) {
    SYSTEMTIME due{};
    due.wYear = today.wYear;
    due.wMonth = today.wMonth;
    due.wDayOfWeek = today.wDayOfWeek;
    due.wDay = today.wDay;
    due.wHour = record.when.wHour;
    due.wMinute = record.when.wMinute;
    FILETIME fileTime;
    if (!SystemTimeToFileTime(&due, &fileTime)) return false;
    dueTime = fileTimeValue(fileTime);
    return true;
}

bool sameDefinitionIgnoringIndex(const ScheduleRecord& a, const ScheduleRecord& b) {
    return a.type == b.type && a.when.wYear == b.when.wYear && a.when.wMonth == b.when.wMonth &&
           a.when.wDayOfWeek == b.when.wDayOfWeek && a.when.wDay == b.when.wDay && a.when.wHour == b.when.wHour &&
           a.when.wMinute == b.when.wMinute && a.weekOfMonth == b.weekOfMonth;
}

bool sameDefinition(const ScheduleRecord& a, const ScheduleRecord& b) {
    return sameDefinitionIgnoringIndex(a, b) && a.duplicateIndex == b.duplicateIndex;
}

bool laterToTheMinute(const SYSTEMTIME& stamp, const SYSTEMTIME& now) {
    const WORD left[5] = {stamp.wYear, stamp.wMonth, stamp.wDay, stamp.wHour, stamp.wMinute};
    const WORD right[5] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
    for (int i = 0; i < 5; ++i) {
        if (left[i] != right[i]) return left[i] > right[i];
    }
    return false;
}
