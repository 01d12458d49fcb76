// The fixed schedule record shared by memory and the data file, the notification
// types, and the pure rules for the days on which a schedule occurs. Nothing here
// reads the clock: every rule takes the date it is asked about.
#pragma once

#include <cstddef>
#include <cstdint>

#include "util/Platform.h"
#include "util/TextBuffer.h"

// On which days a schedule occurs. The codes are stored in the data file, so a
// record's `type` is a plain u32 that may hold codes above 3 (such a record never fires).
enum ScheduleType : uint32_t {
    SpecificDate = 0,  // one date: when.wYear, wMonth, wDay
    Weekday = 1,       // when.wDayOfWeek in the weeks chosen by weekOfMonth
    Monthly = 2,       // when.wDay of every month; a day past the month's end means its last day
    Yearly = 3,        // when.wMonth and when.wDay every year, same month-end rule
};

// weekOfMonth of a Weekday schedule: 0 every week, 1 to 4 days 1-7 ... 22-28, 5 the last seven days.
constexpr uint32_t WEEK_EVERY = 0;
constexpr uint32_t WEEK_LAST = 5;

constexpr uint32_t SCHEDULE_RECORD_SIZE = 60;
constexpr uint32_t SCHEDULE_MAGIC = 0xE5963CD4;

// The 60 bytes at the start of every record in the data file, little-endian, in
// this order and with no padding; the texts follow it in the file.
struct ScheduleRecord {
    uint32_t recordSize;      // always SCHEDULE_RECORD_SIZE
    uint32_t magic;           // always SCHEDULE_MAGIC (bytes D4 3C 96 E5 in the file)
    uint32_t titleLength;     // bytes of title, no terminator
    uint32_t contentLength;   // bytes of content, no terminator
    uint32_t type;            // ScheduleType code
    SYSTEMTIME lastNotified;  // local time of the last announcement; all zero = never
    SYSTEMTIME when;          // date parts that count for `type`, and the time of day
    uint32_t weekOfMonth;     // Weekday only; 0 for the other types
    uint32_t duplicateIndex;  // tells apart records whose definitions are otherwise equal
};
static_assert(sizeof(ScheduleRecord) == SCHEDULE_RECORD_SIZE, "the record is 60 bytes in the file");
static_assert(offsetof(ScheduleRecord, lastNotified) == 20 && offsetof(ScheduleRecord, when) == 36 &&
                  offsetof(ScheduleRecord, weekOfMonth) == 52 && offsetof(ScheduleRecord, duplicateIndex) == 56,
              "record fields sit at their file offsets");

// A record with its two texts, as the file holds it. The length fields always
// describe the texts: after a read each buffer holds exactly that many bytes and a
// NUL; on writing exactly that many bytes are written.
struct StoredSchedule {
    ScheduleRecord record{};
    TextBuffer title;    // optional; this program creates schedules with an empty title
    TextBuffer content;  // the text a notification shows; may contain CR LF

    // Frees both texts and leaves them empty; the record is kept.
    void release();
};

// A fresh record: size and marker set, no title, never announced, index 0.
ScheduleRecord makeScheduleRecord(uint32_t type, const SYSTEMTIME& when, uint32_t weekOfMonth,
                                  uint32_t contentLength);

// Number of days of the month of `date` (28 to 31), from the calendar conversion;
// 0 when the date cannot be converted.
uint16_t daysInMonthOf(const SYSTEMTIME& date);

// Does `record` occur on `today` (its wYear, wMonth, wDay and wDayOfWeek), given
// the number of days of today's month? Types above 3 and weeks above 5 never occur.
bool occursOn(const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth);

// Should the day's reload take `record` into today's pending list: it occurs today
// and its lastNotified is not on today's date.
bool pendingOn(const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth);

// Was `record` a one-time schedule whose date went by before `today` (and so is
// reported as missed)? Records occurring today are never missed.
bool missedBefore(const ScheduleRecord& record, const SYSTEMTIME& today, uint16_t daysInMonth);

// Has the time of day of a pending record been reached at `now` (hour and minute;
// the date is not compared)?
bool dueAt(const ScheduleRecord& record, const SYSTEMTIME& now);

// Local file time of the record's time of day on the date of `today`, seconds 0.
// False when the time cannot be converted; `dueTime` is then left alone.
bool dueTimeOn(const ScheduleRecord& record, const SYSTEMTIME& today, ULONGLONG& dueTime);

// The definition key: type, when's wYear, wMonth, wDayOfWeek, wDay, wHour,
// wMinute, weekOfMonth and duplicateIndex. Texts, lastNotified, wSecond and
// wMilliseconds do not count.
bool sameDefinition(const ScheduleRecord& a, const ScheduleRecord& b);

// The definition key without duplicateIndex: records that need different indexes.
bool sameDefinitionIgnoringIndex(const ScheduleRecord& a, const ScheduleRecord& b);

// Is `stamp` later than `now`, comparing year, month, day, hour and minute in order?
bool laterToTheMinute(const SYSTEMTIME& stamp, const SYSTEMTIME& now);
