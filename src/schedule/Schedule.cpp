#include "schedule/Schedule.h"

#include <new>

Schedule::~Schedule() {
    if (list) list->unlink(this);
    // The tray icon removes itself and the texts release themselves as members.
}

Schedule* createSchedule(HWND clockWindow, const ScheduleRecord& record, const TextBuffer& title,
                         const TextBuffer& content) {
    Schedule* schedule = new (std::nothrow) Schedule(clockWindow);
    if (!schedule) return nullptr;
    schedule->record = record;
    if (!schedule->title.assignBuffer(title) || !schedule->content.assignBuffer(content)) {
        delete schedule;
        return nullptr;
    }
    return schedule;
}

void ScheduleList::pushFront(Schedule* schedule) {
    schedule->prev = nullptr;
    schedule->next = head;
    if (head) head->prev = schedule;
    head = schedule;
    schedule->list = this;
}

void ScheduleList::unlink(Schedule* schedule) {
    if (schedule->next) schedule->next->prev = schedule->prev;
    if (schedule->prev) {
        schedule->prev->next = schedule->next;
    } else {
        head = schedule->next;
    }
    schedule->next = nullptr;
    schedule->prev = nullptr;
    schedule->list = nullptr;
}

void ScheduleList::clear() {
    while (head) delete head;
}
