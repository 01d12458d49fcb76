// Mouse events on the bells of announced schedules: a double click opens the
// schedule's details, a right click offers to dismiss it or open them.
#include "app/ClockWindow.h"
#include "app/Commands.h"
#include "schedule/dialogs/ScheduleDetailDialog.h"

namespace {

Schedule* findNotified(const ScheduleList& notified, WPARAM iconId) {
    Schedule* schedule = notified.head;
    while (schedule && schedule->trayIcon.id != iconId) schedule = schedule->next;
    return schedule;
}

// An announced schedule as a menu or dialog found it when it opened. The clock
// keeps running while they are open, so by the time they close the schedule may
// have been dismissed and its icon id given to a schedule announced since; the
// choice made there then has nothing left to act on.
class OpenedFor {
public:
    explicit OpenedFor(const Schedule& schedule)
        : address(reinterpret_cast<uintptr_t>(&schedule)),
          iconId(schedule.trayIcon.id),
          record(schedule.record),
          dueTime(schedule.dueTime) {}

    // The same schedule if it is still announced with the same icon, definition
    // and due time; otherwise null. The address is kept as a number, since the
    // object it named may be gone.
    Schedule* stillNotified(const ScheduleList& notified) const {
        Schedule* schedule = findNotified(notified, iconId);
        if (!schedule || reinterpret_cast<uintptr_t>(schedule) != address) return nullptr;
        if (!sameDefinition(schedule->record, record) || schedule->dueTime != dueTime) return nullptr;
        return schedule;
    }

private:
    uintptr_t address;
    uint32_t iconId;
    ScheduleRecord record;
    ULONGLONG dueTime;
};

}  // namespace

bool ClockWindow::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    Schedule* schedule = findNotified(notifiedSchedules, iconId);
    if (!schedule) return false;
    const uint32_t id = schedule->trayIcon.id;
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
        return openNotificationDetail(*schedule, id);
    case WM_RBUTTONUP: {
        const OpenedFor openedFor(*schedule);
        const UINT choice = showTrayMenu(id);
        schedule = openedFor.stillNotified(notifiedSchedules);
        if (!schedule) return false;
        switch (choice) {
        case CMD_TRAY_DISMISS:
            dismissNotified(id);
            return true;
        case CMD_TRAY_DETAILS:
            return openNotificationDetail(*schedule, id);
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

bool ClockWindow::openNotificationDetail(Schedule& schedule, uint32_t iconId) {
    const OpenedFor openedFor(schedule);
    ScheduleDetailRequest request;
    request.owner = this;
    request.schedule = &schedule;
    request.markFromNotification(schedule.iconStage, schedule.dueTime);
    switch (request.showScheduleDetail(hwnd)) {
    case DETAIL_DELETE:
        if (openedFor.stillNotified(notifiedSchedules)) dismissNotified(iconId);
        return true;
    case IDOK:
    case IDCANCEL:
        return true;
    default:
        return false;
    }
}
