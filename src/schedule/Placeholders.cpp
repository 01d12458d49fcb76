// Least bodies that let the clock run until the schedules are built: the data
// file path is resolved, and there are no schedules to announce.
#include "app/ClockWindow.h"

#include <cstring>
#include <new>

bool ClockWindow::resolveScheduleFilePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    scheduleFilePath = new (std::nothrow) char[length + 1];
    if (!scheduleFilePath) return false;
    std::memcpy(scheduleFilePath, path, length + 1);
    return true;
}
bool ClockWindow::reloadToday() { return formatDate(); }
void ClockWindow::checkDue() {}
void ClockWindow::animateNotified(ULONGLONG) {}
bool ClockWindow::onTrayNotify(WPARAM, LPARAM) { return false; }
void ClockWindow::showAddScheduleDialog(HWND) {}
void ClockWindow::showScheduleManager() {}
void ClockWindow::clearPending() {}
void ClockWindow::clearNotified() {}
