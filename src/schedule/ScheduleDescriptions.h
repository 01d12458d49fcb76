// The Japanese texts that show one schedule to the user: its notification type,
// its date or recurrence, its time of day and when it was last announced. The
// detail dialog and the schedule manager build their captions and columns from
// them. Each writes into a caller-owned buffer, replacing what it held.
#pragma once

#include "schedule/ScheduleRecord.h"
#include "util/TextBuffer.h"

// "特定の日", "特定の曜日", "月に一度" or "年に一度". False, with the buffer left
// as it was, for a type the program does not know.
bool describeType(const ScheduleRecord& record, TextBuffer& out);

// "2006年3月5日 (日)", "毎週 月曜日", "毎月 第2 水曜日", "毎月 最終 金曜日",
// "毎月 15日" or "毎年 12月25日". False, with the buffer left as it was, for an
// unknown type.
bool describeRecurrence(const ScheduleRecord& record, TextBuffer& out);

// "午前 9:30", "午後 12:00": the 12-hour clock with the half-day word.
bool describeTime(const ScheduleRecord& record, TextBuffer& out);

// "2006年7月14日 (金) 午後 1:05"; an emptied buffer when it was never announced
// (a year below 1600).
bool describeLastNotified(const ScheduleRecord& record, TextBuffer& out);
