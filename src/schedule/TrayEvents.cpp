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

}  // namespace

bool ClockWindow::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    Schedule* schedule = findNotified(notifiedSchedules, iconId);
    if (!schedule) return false;
    const uint32_t id = schedule->trayIcon.id;
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
        return openNotificationDetail(*schedule, id);
    case WM_RBUTTONUP:
        switch (showTrayMenu(id)) {
        case CMD_TRAY_DISMISS:
            dismissNotified(id);
            return true;
        case CMD_TRAY_DETAILS:
            // The clock kept running while the menu was open; look the schedule up afresh.
            schedule = findNotified(notifiedSchedules, id);
            return schedule && openNotificationDetail(*schedule, id);
        default:
            return false;
        }
    default:
        return false;
    }
}

bool ClockWindow::openNotificationDetail(Schedule& schedule, uint32_t iconId) {
    ScheduleDetailRequest request;
    request.owner = this;
    request.schedule = &schedule;
    request.markFromNotification(schedule.iconStage, schedule.dueTime);
    switch (request.showScheduleDetail(hwnd)) {
    case DETAIL_DELETE:
        // The schedule may have been dismissed while its menu or dialog was open,
        // so it is looked up again by its icon.
        dismissNotified(iconId);
        return true;
    case IDOK:
    case IDCANCEL:
        return true;
    default:
        return false;
    }
}
