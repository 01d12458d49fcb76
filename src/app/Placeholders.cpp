// Least bodies that let the clock run until the menus are built.
#include "app/ClockWindow.h"

bool ClockWindow::loadMenus() { return true; }
void ClockWindow::freeMenus() {}
void ClockWindow::showContextMenu() {}
void ClockWindow::onMeasureItem(WPARAM, LPARAM) {}
void ClockWindow::onDrawItem(WPARAM, LPARAM) {}
