// The clock window's data file operations: the file code on scheduleFilePath and
// `now`, and the one message the file ever shows the user.
#include "app/ClockWindow.h"

bool ClockWindow::appendSchedule(ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content,
                                 bool& damageMet) {
    return ::appendSchedule(scheduleFilePath, record, title, content, damageMet);
}

void ClockWindow::reportDamagedScheduleFile(HWND owner) {
    MessageBoxA(owner, "予定データファイルが不正です。\nいくつかの予定が消えた可能性があります。)", "予定の追加",
                MB_ICONERROR);
}

bool ClockWindow::rewriteSchedules(const ScheduleRecord& record, RewriteMode mode, bool* replaced) {
    return ::rewriteSchedules(scheduleFilePath, record, mode, now, replaced);
}

bool ClockWindow::loadAllSchedules(StoredScheduleList& list) {
    return ::loadAllSchedules(scheduleFilePath, list);
}
