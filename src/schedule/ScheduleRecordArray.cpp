#include "schedule/ScheduleRecordArray.h"

#include <cstring>
#include <new>

bool ScheduleRecordArray::reserveOne() {
    if (count < capacity) return true;
    if (limit - capacity < GROWTH) return false;
    ScheduleRecord* grown = new (std::nothrow) ScheduleRecord[capacity + GROWTH];
    if (!grown) return false;
    if (count) std::memcpy(grown, records, count * sizeof(ScheduleRecord));
    delete[] records;
    records = grown;
    capacity += GROWTH;
    return true;
}
