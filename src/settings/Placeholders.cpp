// Least bodies that let the clock run until the settings store and property
// sheet are built: the construction defaults stay in force and nothing is saved.
#include "app/ClockWindow.h"

bool ClockWindow::loadSettings() { return false; }
bool ClockWindow::saveSettings() { return false; }
bool ClockWindow::savePosition() { return false; }
bool ClockWindow::loadLastCheck() { return false; }
bool ClockWindow::saveLastCheck() { return false; }
void ClockWindow::showPropertySheet() {}
void ClockWindow::launchShellAsync(HWND, const char*, const char*, const char*, const char*, int) {}
