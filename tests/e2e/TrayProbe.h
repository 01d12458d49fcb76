// The notification area as seen from outside the clock, under Wine's standalone
// system tray (no desktop shell under Xvfb): which icon ids a window has there,
// the colour of each bell, and the text of the balloon on show.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// Does `owner` have an icon with this id? Asked by a modification that changes
// nothing (the callback message stays WM_SCHEDULE_TRAY): the shell refuses it
// for an icon it does not have.
bool trayIconShown(HWND owner, UINT id);

// Takes an icon of `owner` out of the notification area, as a shell made anew has none.
bool removeTrayIcon(HWND owner, UINT id);

// How many of the icon ids 1 to `last` `owner` has.
UINT trayIconsShown(HWND owner, UINT last);

// The icon windows of Wine's system tray, in the order the icons were added.
std::vector<HWND> trayIconWindows();

enum class BellColour { None, Yellow, Magenta, Red, Olive };
const char* bellColourName(BellColour colour);

// The bell's body colour as the screen shows it (the balloon may hide part of it).
BellColour bellColourOf(HWND iconWindow);

// The text of a balloon shown by the shell, or empty when none shows.
std::string balloonText();

}  // namespace harness
