#include <cstring>
#include <new>

#include "schedule/ScheduleFile.h"

StoredScheduleList::~StoredScheduleList() {
    clearStoredSchedules(*this);
}

bool StoredScheduleList::append(StoredSchedule* entry) {
    if (count == capacity) {
        // Grows by half again, so loading a large file copies the pointers few times.
        const uint32_t grown = capacity < 16 ? 16 : capacity + capacity / 2;
        if (grown <= capacity) return false;
        StoredSchedule** larger = new (std::nothrow) StoredSchedule*[grown];
        if (!larger) return false;
        if (count) std::memcpy(larger, entries, count * sizeof *entries);
        delete[] entries;
        entries = larger;
        capacity = grown;
    }
    entries[count++] = entry;
    return true;
}

void clearStoredSchedules(StoredScheduleList& list) {
    for (uint32_t i = 0; i < list.count; ++i) delete list.entries[i];
    delete[] list.entries;
    list.entries = nullptr;
    list.count = 0;
    list.capacity = 0;
}

bool removeStoredSchedule(StoredScheduleList& list, const StoredSchedule* entry) {
    for (uint32_t i = 0; i < list.count; ++i) {
        if (list.entries[i] != entry) continue;
        delete list.entries[i];
        std::memmove(list.entries + i, list.entries + i + 1, (list.count - i - 1) * sizeof *list.entries);
        --list.count;
        return true;
    }
    return false;
}

bool loadAllSchedules(const char* path, StoredScheduleList& list) {
    ScheduleReader reader;
    if (!path || !fileExists(path) || !reader.open(path)) return false;
    for (;;) {
        StoredSchedule* entry = new (std::nothrow) StoredSchedule;
        if (!entry) return false;
        if (!reader.next(*entry)) {
            delete entry;
            break;
        }
        if (!list.append(entry)) {
            delete entry;
            return false;
        }
    }
    return !reader.damaged() && !reader.readFailed();
}
