// Today's live schedules: which records occur today, their due times, and the
// pending and notified lists of the clock window.
#include <cstring>
#include <new>

#include "app/ClockWindow.h"
#include "util/PathText.h"

bool ClockWindow::resolveScheduleFilePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A full buffer means the path was cut short; the folder would then be wrong.
    if (length == 0 || length >= sizeof path) return false;
    const size_t folderLength = folderPartLength(path);
    const size_t fullLength = folderLength + sizeof SCHEDULE_FILE_NAME - 1;
    char* resolved = new (std::nothrow) char[fullLength + 1];
    if (!resolved) return false;
    std::memcpy(resolved, path, folderLength);
    std::memcpy(resolved + folderLength, SCHEDULE_FILE_NAME, sizeof SCHEDULE_FILE_NAME);
    delete[] scheduleFilePath;
    scheduleFilePath = resolved;
    return true;
}

bool ClockWindow::occursToday(const ScheduleRecord& record) const { return occursOn(record, now, daysInMonth); }

bool ClockWindow::updateDaysInMonth() {
    const uint16_t days = daysInMonthOf(now);
    if (days == 0) return false;
    daysInMonth = days;
    return true;
}

bool ClockWindow::computeDueTime(Schedule& schedule) const { return dueTimeOn(schedule.record, now, schedule.dueTime); }

bool ClockWindow::addPending(const ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content) {
    Schedule* schedule = createSchedule(hwnd, record, title, content);
    if (!schedule) return false;
    if (!computeDueTime(*schedule)) {
        delete schedule;
        return false;
    }
    pendingSchedules.pushFront(schedule);
    return true;
}

bool ClockWindow::removePending(const ScheduleRecord& record) {
    for (Schedule* schedule = pendingSchedules.head; schedule; schedule = schedule->next) {
        if (sameDefinition(schedule->record, record)) {
            delete schedule;
            return true;
        }
    }
    return false;
}

void ClockWindow::clearPending() { pendingSchedules.clear(); }

void ClockWindow::clearNotified() { notifiedSchedules.clear(); }

void ClockWindow::dismissNotified(uint32_t iconId) {
    for (Schedule* schedule = notifiedSchedules.head; schedule; schedule = schedule->next) {
        if (schedule->trayIcon.id == iconId) {
            delete schedule;
            return;
        }
    }
}

uint32_t ClockWindow::nextTrayIconId() const {
    uint32_t smallest = 0;
    uint32_t largest = 0;
    for (const Schedule* schedule = notifiedSchedules.head; schedule; schedule = schedule->next) {
        const uint32_t id = schedule->trayIcon.id;
        if (id == 0) continue;
        if (smallest == 0 || id < smallest) smallest = id;
        if (id > largest) largest = id;
    }
    if (smallest == 0) return 1;
    // Ids freed at the low end are reused from below; otherwise count up.
    return smallest >= 2 ? smallest - 1 : largest + 1;
}

bool ClockWindow::addSchedule(HWND owner, uint32_t type, const SYSTEMTIME& when, uint32_t weekOfMonth,
                              const char* content) {
    TextBuffer title;
    TextBuffer text;
    const size_t contentLength = content ? std::strlen(content) : 0;
    if (contentLength >= UINT32_MAX) return false;
    if (!text.assignBytes(content ? content : "", static_cast<uint32_t>(contentLength))) return false;
    ScheduleRecord record = makeScheduleRecord(type, when, weekOfMonth, static_cast<uint32_t>(contentLength));
    bool damageMet = false;
    const bool appended = appendSchedule(record, title, text, damageMet);
    // Today's list is brought up to date before the report's own message loop lets
    // the day change under it. A schedule of today whose time has passed is
    // announced by the next minute's due check. Once the record is in the file the
    // add has succeeded even if today's list cannot take it (it is read again the
    // next day): a failure would let Retry store it a second time.
    if (appended && occursToday(record)) addPending(record, title, text);
    if (damageMet) reportDamagedScheduleFile(owner);
    return appended;
}
