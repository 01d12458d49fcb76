#include "schedule/ScheduleRows.h"

#include "schedule/ScheduleDescriptions.h"

bool passesFilter(int filterIndex, const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth) {
    switch (filterIndex) {
    case FILTER_TODAY:
        return occursOn(record, today, daysInMonth);
    case FILTER_SPECIFIC_DATE:
        return record.type == SpecificDate;
    case FILTER_WEEKDAY:
        return record.type == Weekday;
    case FILTER_MONTHLY:
        return record.type == Monthly;
    case FILTER_YEARLY:
        return record.type == Yearly;
    default:
        return true;
    }
}

bool describeCell(const StoredSchedule& schedule, int column, TextBuffer& out) {
    switch (column) {
    case COLUMN_TYPE:
        return describeType(schedule.record, out);
    case COLUMN_RECURRENCE:
        return describeRecurrence(schedule.record, out);
    case COLUMN_TIME:
        return describeTime(schedule.record, out);
    case COLUMN_CONTENT:
        return out.assignBuffer(schedule.content);
    case COLUMN_LAST_NOTIFIED:
        return describeLastNotified(schedule.record, out);
    default:
        return false;
    }
}

namespace {

// The character at `text[at]` as one value, and how many bytes it takes. A lead
// byte without its second byte inside the limit counts alone.
unsigned characterAt(const unsigned char* text, size_t at, size_t limit, size_t& width) {
    width = 1;
    if (at >= limit) return 0;
    const unsigned first = text[at];
    if (isLeadByte932(static_cast<unsigned char>(first)) && at + 1 < limit && text[at + 1] != 0) {
        width = 2;
        return first << 8 | text[at + 1];
    }
    return first;
}

}  // namespace

int compareText932(const char* a, const char* b, size_t limit) {
    const auto* left = reinterpret_cast<const unsigned char*>(a ? a : "");
    const auto* right = reinterpret_cast<const unsigned char*>(b ? b : "");
    size_t at = 0;
    for (;;) {
        size_t leftWidth, rightWidth;
        const unsigned l = characterAt(left, at, limit, leftWidth);
        const unsigned r = characterAt(right, at, limit, rightWidth);
        if (l != r) return l < r ? -1 : 1;
        if (l == 0) return 0;
        // Equal characters have equal widths, so both texts move on together.
        at += leftWidth;
    }
}

int compareScheduleCells(const StoredSchedule& a, const StoredSchedule& b, int column) {
    // A text that cannot be built leaves its fresh buffer empty.
    TextBuffer left, right;
    describeCell(a, column, left);
    describeCell(b, column, right);
    return compareText932(left.c_str(), right.c_str());
}
