// The schedules the benchmarks work on: `count` records of every type, each with
// the same short Japanese text, their dates and times spread over the year.
#pragma once

#include <cstdio>

#include "schedule/ScheduleFile.h"

// Writes them to `file`; returns a recurring record from the middle of the file.
inline ScheduleRecord writeBenchSchedules(std::FILE* file, int count) {
    TextBuffer title, content;
    content.assign("定例会議の資料を準備する（第二会議室）");
    ScheduleRecord middle{};
    for (int i = 0; i < count; ++i) {
        SYSTEMTIME when{};
        when.wYear = 2025;
        when.wMonth = static_cast<WORD>(i % 12 + 1);
        when.wDayOfWeek = static_cast<WORD>(i % 7);
        when.wDay = static_cast<WORD>(i % 28 + 1);
        when.wHour = static_cast<WORD>(i % 24);
        when.wMinute = static_cast<WORD>(i % 60);
        ScheduleRecord record =
            makeScheduleRecord(static_cast<uint32_t>(i % 4), when, static_cast<uint32_t>(i % 6), content.length());
        record.duplicateIndex = static_cast<uint32_t>(i / 1000);
        writeRecord(file, record, title, content);
        if (i == count / 2 + 1) middle = record;
    }
    return middle;
}
