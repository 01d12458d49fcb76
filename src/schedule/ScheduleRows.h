// What the schedule manager's list shows of each schedule, and how it filters
// and orders the rows: platform-neutral, so the texts and the ordering are the
// same wherever they are computed.
#pragma once

#include <cstddef>

#include "schedule/ScheduleRecord.h"
#include "util/TextBuffer.h"

// The list's columns, in their order on screen.
enum ScheduleColumn : int {
    COLUMN_TYPE,           // 通知タイプ
    COLUMN_RECURRENCE,     // 予定日
    COLUMN_TIME,           // 時間
    COLUMN_CONTENT,        // 内容
    COLUMN_LAST_NOTIFIED,  // 通知日, empty when never announced
    COLUMN_COUNT
};

// The entries of the filter list, by their index in it.
enum ScheduleFilter : int {
    FILTER_TODAY,          // 今日の予定: whatever occurs today, any type
    FILTER_ALL,            // すべて
    FILTER_SPECIFIC_DATE,  // 特定の日
    FILTER_WEEKDAY,        // 特定の曜日
    FILTER_MONTHLY,        // 月に一度
    FILTER_YEARLY,         // 年に一度
    FILTER_COUNT
};

// Does the schedule belong under the filter at this index? An index outside
// the list shows everything.
bool passesFilter(int filterIndex, const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth);

// The text of one cell of the schedule's row. False when the text cannot be
// built; a schedule whose type cell fails gets no row.
bool describeCell(const StoredSchedule& schedule, int column, TextBuffer& out);

// The most a cell's text takes part in a comparison: what a 512-byte cell
// buffer holds.
constexpr size_t CELL_COMPARE_BYTES = 512;

// Orders two code page 932 texts character by character over at most `limit`
// bytes: a double-byte character counts as one 16-bit value with its lead byte
// high, a single byte as its unsigned value, and the end of a text as 0. So it
// orders by text, not by value: "午前 10:00" before "午前 9:00", "12月" before "2月".
// Negative, 0 or positive.
int compareText932(const char* a, const char* b, size_t limit = CELL_COMPARE_BYTES);

// Orders two schedules by the text of one column, as compareText932 orders the
// cells' texts; a text that cannot be built counts as empty.
int compareScheduleCells(const StoredSchedule& a, const StoredSchedule& b, int column);
