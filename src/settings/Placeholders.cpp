// Least bodies that let the clock run until the property sheet is built.
#include "app/ClockWindow.h"

void ClockWindow::showPropertySheet() {}
void ClockWindow::launchShellAsync(HWND, const char*, const char*, const char*, const char*, int) {}
