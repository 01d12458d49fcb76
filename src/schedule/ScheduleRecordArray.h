// The records collected by one pass of the missed-schedule report, kept in file
// order for the rewrites that follow the pass.
#pragma once

#include <cstdint>

#include "schedule/ScheduleRecord.h"

// A growable array of records in the order they were added, growing by a fixed
// step; it never throws. `maxCount` bounds its growth as running out of memory would.
class ScheduleRecordArray {
public:
    explicit ScheduleRecordArray(uint32_t maxCount = UINT32_MAX) : limit(maxCount) {}
    ~ScheduleRecordArray() { delete[] records; }
    ScheduleRecordArray(const ScheduleRecordArray&) = delete;
    ScheduleRecordArray& operator=(const ScheduleRecordArray&) = delete;

    // Makes room for one more record; false when the array cannot grow.
    bool reserveOne();
    // Adds a record; reserveOne must have succeeded first.
    void add(const ScheduleRecord& record) { records[count++] = record; }
    uint32_t size() const { return count; }
    const ScheduleRecord& operator[](uint32_t index) const { return records[index]; }

    static constexpr uint32_t GROWTH = 100;

private:
    ScheduleRecord* records = nullptr;
    uint32_t count = 0;
    uint32_t capacity = 0;
    uint32_t limit;
};
