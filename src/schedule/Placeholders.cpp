// Least body that lets the clock run until the schedule manager is built.
#include "app/ClockWindow.h"

void ClockWindow::showScheduleManager() {}
