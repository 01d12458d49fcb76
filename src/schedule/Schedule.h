// Live schedules of the current day and the lists that hold them: today's
// occurrences not announced yet, and announced ones, each with its bell icon.
#pragma once

#include <cstdint>

#include "schedule/ScheduleRecord.h"
#include "schedule/TrayIcon.h"

// Bits of Schedule::state.
constexpr uint32_t SCHEDULE_BLINKING = 0x2;     // announced by the due check, first minute not over
constexpr uint32_t SCHEDULE_BLINK_PHASE = 0x4;  // which of the two blink pictures is showing

struct ScheduleList;

// A schedule of today: its record and texts, its place in a list, its icon and
// the state of its announcement. Destroying it removes its icon and unlinks it.
struct Schedule : StoredSchedule {
    explicit Schedule(HWND clockWindow) { trayIcon.hWnd = clockWindow; }
    ~Schedule();
    Schedule(const Schedule&) = delete;
    Schedule& operator=(const Schedule&) = delete;

    Schedule* next = nullptr;
    Schedule* prev = nullptr;
    TrayIcon trayIcon;
    uint32_t state = 0;
    ULONGLONG dueTime = 0;  // local file time of today's occurrence; 0 for a missed schedule
    uint8_t iconStage = 0;  // index into the clock's notification icons
    ScheduleList* list = nullptr;  // the list that holds it, so that it can unlink itself
};

// A new schedule with copies of the record and both texts, or null when memory runs out.
Schedule* createSchedule(HWND clockWindow, const ScheduleRecord& record, const TextBuffer& title,
                         const TextBuffer& content);

// An ordered, doubly linked sequence of schedules that owns its members; new
// members go to the front.
struct ScheduleList {
    Schedule* head = nullptr;

    ScheduleList() = default;
    ~ScheduleList() { clear(); }
    ScheduleList(const ScheduleList&) = delete;
    ScheduleList& operator=(const ScheduleList&) = delete;

    bool empty() const { return head == nullptr; }
    // Takes ownership; the schedule must not be in a list.
    void pushFront(Schedule* schedule);
    // Gives up ownership; the others keep their order.
    void unlink(Schedule* schedule);
    // Destroys every member, from the head.
    void clear();
};
