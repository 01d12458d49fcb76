// Least bodies that let the clock run until the schedule dialogs and the tray
// icon events are built.
#include "app/ClockWindow.h"

bool ClockWindow::onTrayNotify(WPARAM, LPARAM) { return false; }
void ClockWindow::showAddScheduleDialog(HWND) {}
void ClockWindow::showScheduleManager() {}
