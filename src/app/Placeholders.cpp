// Least bodies that let the clock run until menus and placement are built.
#include "app/ClockWindow.h"

bool ClockWindow::loadMenus() { return true; }
void ClockWindow::freeMenus() {}
void ClockWindow::showContextMenu() {}
void ClockWindow::onMeasureItem(WPARAM, LPARAM) {}
void ClockWindow::onDrawItem(WPARAM, LPARAM) {}

void ClockWindow::onLButtonDown(WPARAM, LPARAM) {}
void ClockWindow::onMouseMove(WPARAM, LPARAM) {}
void ClockWindow::onLButtonUp() {}
void ClockWindow::resizeWindow(int width, int height) {
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
bool ClockWindow::applyTopmost() { return true; }
bool ClockWindow::placeBelow(HWND) { return true; }
