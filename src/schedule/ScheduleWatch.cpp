// The schedule watch: rebuilds today's pending list at each change of date,
// announces due schedules at each change of minute, reports one-time schedules
// whose day went by, and ages the bell icons of announced schedules.
#include "app/ClockWindow.h"
#include "schedule/IconStage.h"

namespace {

const char DUE_SUFFIX[] = " 予定の通知";
const char MISSED_SUFFIX[] = " 通知できなかった予定";

// The schedule's time of day as the balloon title and the tip begin, "午前 9:05";
// empty when formatting fails. Only the hour and minute of `when` count, so they
// are put on today's date, which is always a valid one.
void formatTimePrefix(const SYSTEMTIME& today, const SYSTEMTIME& when, char (&prefix)[512]) {
    SYSTEMTIME time = today;
    time.wHour = when.wHour;
    time.wMinute = when.wMinute;
    time.wSecond = 0;
    time.wMilliseconds = 0;
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, "tt h:mm", prefix, sizeof prefix) == 0) prefix[0] = '\0';
}

}  // namespace

bool ClockWindow::reloadToday() {
    // Nothing thrown while reading the file may end the clock: a failure here
    // only means today's list is incomplete.
    try {
        formatDate();
        if (!updateDaysInMonth()) return false;
        clearPending();
        ScheduleRecordArray missed;
        reportMissed(missed);
        dayListUnread = false;
        if (!scheduleFilePath || !fileExists(scheduleFilePath)) return true;
        ScheduleReader reader;
        if (!reader.open(scheduleFilePath)) {
            // A file held by another program would leave the whole day without
            // announcements; the tick tries again at the next minute.
            dayListUnread = true;
            return false;
        }
        StoredSchedule entry;
        while (reader.next(entry)) {
            // A failed addPending only leaves that schedule out of today's list.
            if (pendingOn(entry.record, now, daysInMonth)) addPending(entry.record, entry.title, entry.content);
        }
        return !reader.damaged();
    } catch (...) {
        return false;
    }
}

bool ClockWindow::reportMissed(ScheduleRecordArray& missed) {
    if (!scheduleFilePath || !fileExists(scheduleFilePath)) return true;
    bool failed = false;
    {
        ScheduleReader reader;
        if (!reader.open(scheduleFilePath)) return false;
        StoredSchedule entry;
        while (reader.next(entry)) {
            if (!missedBefore(entry.record, now, daysInMonth)) continue;
            // Only a schedule that is both announced and kept for the rewrite
            // leaves the file; any other stays there and is reported next time.
            if (!missed.reserveOne()) {
                failed = true;
                continue;
            }
            Schedule* schedule = createSchedule(hwnd, entry.record, entry.title, entry.content);
            if (!schedule) continue;
            announce(*schedule, true);
            notifiedSchedules.pushFront(schedule);
            missed.add(entry.record);
        }
        failed = failed || reader.damaged();
    }
    for (uint32_t i = 0; i < missed.size(); ++i) rewriteSchedules(missed[i], REWRITE_STAMP);
    return !failed;
}

void ClockWindow::checkDue() {
    bool announced = false;
    Schedule* next = nullptr;
    for (Schedule* schedule = pendingSchedules.head; schedule; schedule = next) {
        next = schedule->next;
        if (!dueAt(schedule->record, now)) continue;
        pendingSchedules.unlink(schedule);
        announce(*schedule, false);
        notifiedSchedules.pushFront(schedule);
        rewriteSchedules(schedule->record, REWRITE_STAMP);
        announced = true;
    }
    lastWatchTime = now;
    if (announced) saveLastCheck();
}

void ClockWindow::announce(Schedule& schedule, bool missed) {
    char prefix[512];
    formatTimePrefix(now, schedule.record.when, prefix);
    if (missed) {
        schedule.iconStage = STAGE_OLIVE;
    } else {
        schedule.state ^= SCHEDULE_BLINK_PHASE;
        schedule.iconStage = (schedule.state & SCHEDULE_BLINK_PHASE) ? STAGE_SWING_B : STAGE_SWING_A;
    }
    schedule.trayIcon.trayAdd(nextTrayIconId(), notifyIcons[schedule.iconStage], schedule.content.c_str(),
                              missed ? MISSED_SUFFIX : DUE_SUFFIX, prefix, true);
    if (!missed) schedule.state |= SCHEDULE_BLINKING;
}

void ClockWindow::onTaskbarCreated() {
    for (Schedule* schedule = notifiedSchedules.head; schedule; schedule = schedule->next) {
        schedule->trayIcon.shown = false;
    }
    showMissingBells();
}

void ClockWindow::showMissingBells() {
    for (Schedule* schedule = notifiedSchedules.head; schedule; schedule = schedule->next) {
        TrayIcon& icon = schedule->trayIcon;
        if (icon.id == 0 || icon.shown) continue;
        // The tip as the announcement gave it; the balloon was read or has timed out.
        char prefix[512];
        formatTimePrefix(now, schedule->record.when, prefix);
        icon.trayShowAgain(notifyIcons[schedule->iconStage], schedule->content.c_str(), prefix);
    }
}

void ClockWindow::animateNotified(ULONGLONG nowFileTime) {
    for (Schedule* schedule = notifiedSchedules.head; schedule; schedule = schedule->next) {
        if (nowFileTime < schedule->dueTime) continue;
        const ULONGLONG minutes = (nowFileTime - schedule->dueTime) / FILETIME_MINUTE;
        if (schedule->state & SCHEDULE_BLINKING) {
            if (minutes >= 1) {
                // Ending the blinking is tried again on every pass until the shell takes it.
                schedule->iconStage = STAGE_UPRIGHT;
                if (schedule->trayIcon.trayModify(notifyIcons[STAGE_UPRIGHT], nullptr, nullptr, nullptr, false)) {
                    schedule->state &= ~SCHEDULE_BLINKING;
                }
            } else {
                schedule->state ^= SCHEDULE_BLINK_PHASE;
                const bool phase = (schedule->state & SCHEDULE_BLINK_PHASE) != 0;
                schedule->trayIcon.trayModify(notifyIcons[phase ? STAGE_SWING_B : STAGE_SWING_A], nullptr, nullptr,
                                              nullptr, false);
                schedule->iconStage = STAGE_SWING_A;
            }
            continue;
        }
        const uint8_t stage = steppedIconStage(schedule->iconStage, minutes);
        if (stage == schedule->iconStage) continue;
        // A step counts as reached even when the shell refuses the picture; the
        // picture catches up at the next step.
        schedule->iconStage = stage;
        schedule->trayIcon.trayModify(notifyIcons[stage], nullptr, nullptr, nullptr, false);
    }
}
