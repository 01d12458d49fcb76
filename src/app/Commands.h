// Window message and timer constants of the clock; the command identifiers
// (CMD_) live with the resource identifiers, which the menus share.
#pragma once

#include "res/resource.h"

// Mouse events on the schedules' notification-area icons.
constexpr unsigned WM_SCHEDULE_TRAY = 0x0400 + 121;

// The one clock timer.
constexpr unsigned CLOCK_TIMER_ID = 1;
constexpr unsigned TIMER_PERIOD_MS = 1000;
constexpr unsigned TIMER_PERIOD_SECONDS_MS = 250;
