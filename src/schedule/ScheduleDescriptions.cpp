#include "schedule/ScheduleDescriptions.h"

#include <cstdio>
#include <cstring>

namespace {

// Room for every text built here; none is longer than about forty bytes.
constexpr size_t DESCRIPTION_CAPACITY = 512;

const char* const TYPE_NAMES[] = {"特定の日", "特定の曜日", "月に一度", "年に一度"};

// Prefixes of a weekday schedule by weekOfMonth; 5 and anything above read "last".
const char* const WEEK_PREFIXES[] = {"毎週", "毎月 第1", "毎月 第2", "毎月 第3", "毎月 第4", "毎月 最終"};

// A stored day of the week outside 0 to 6 reads as Saturday.
const char* weekdayLetter(WORD dayOfWeek) {
    static const char* const LETTERS[] = {"日", "月", "火", "水", "木", "金", "土"};
    return LETTERS[dayOfWeek < 6 ? dayOfWeek : 6];
}

const char* halfDayWord(WORD hour) { return hour >= 12 ? "午後" : "午前"; }

int twelveHour(WORD hour) { return hour % 12 == 0 ? 12 : hour % 12; }

bool assignText(TextBuffer& out, const char* text, int length) {
    if (length < 0) return out.assignBytes("", 0);
    return out.assignBytes(text, static_cast<uint32_t>(length));
}

}  // namespace

bool describeType(const ScheduleRecord& record, TextBuffer& out) {
    if (record.type > Yearly) return false;
    const char* name = TYPE_NAMES[record.type];
    return out.assignBytes(name, static_cast<uint32_t>(std::strlen(name)));
}

bool describeRecurrence(const ScheduleRecord& record, TextBuffer& out) {
    const SYSTEMTIME& when = record.when;
    char text[DESCRIPTION_CAPACITY];
    int length;
    switch (record.type) {
    case SpecificDate:
        // The stored day of the week is shown as it is, not worked out from the date.
        length = std::snprintf(text, sizeof text, "%04d年%d月%d日 (%s)", when.wYear, when.wMonth, when.wDay,
                               weekdayLetter(when.wDayOfWeek));
        break;
    case Weekday:
        length = std::snprintf(text, sizeof text, "%s %s曜日",
                               WEEK_PREFIXES[record.weekOfMonth < WEEK_LAST ? record.weekOfMonth : WEEK_LAST],
                               weekdayLetter(when.wDayOfWeek));
        break;
    case Monthly:
        length = std::snprintf(text, sizeof text, "毎月 %d日", when.wDay);
        break;
    case Yearly:
        length = std::snprintf(text, sizeof text, "毎年 %d月%d日", when.wMonth, when.wDay);
        break;
    default:
        return false;
    }
    return assignText(out, text, length);
}

bool describeTime(const ScheduleRecord& record, TextBuffer& out) {
    const SYSTEMTIME& when = record.when;
    char text[DESCRIPTION_CAPACITY];
    const int length = std::snprintf(text, sizeof text, "%s %d:%02d", halfDayWord(when.wHour),
                                     twelveHour(when.wHour), when.wMinute);
    return assignText(out, text, length);
}

bool describeLastNotified(const ScheduleRecord& record, TextBuffer& out) {
    const SYSTEMTIME& last = record.lastNotified;
    if (last.wYear < 1600) {
        out.release();
        return true;
    }
    char text[DESCRIPTION_CAPACITY];
    const int length = std::snprintf(text, sizeof text, "%04d年%d月%d日 (%s) %s %d:%02d", last.wYear, last.wMonth,
                                     last.wDay, weekdayLetter(last.wDayOfWeek), halfDayWord(last.wHour),
                                     twelveHour(last.wHour), last.wMinute);
    return assignText(out, text, length);
}
