// Command identifiers shared by menu 109, accelerator table 109, Setup and the
// hand-over from a second start of the program.
#pragma once

enum : unsigned {
    CMD_EXIT = 105,
    CMD_SAVE_POSITION = 32772,
    CMD_ADD_SCHEDULE = 32789,
    CMD_ADJUST_DATETIME = 32793,
    CMD_LOCK_POSITION = 32795,
    CMD_PROPERTIES = 32799,
    CMD_TRAY_DISMISS = 32801,
    CMD_TRAY_DETAILS = 32802,
    CMD_LIST_DELETE = 32813,
    CMD_LIST_DETAILS = 32815,
    CMD_SCHEDULE_MANAGER = 32821,
};

// Mouse events on the schedules' notification-area icons.
constexpr unsigned WM_SCHEDULE_TRAY = 0x0400 + 121;

// The one clock timer.
constexpr unsigned CLOCK_TIMER_ID = 1;
constexpr unsigned TIMER_PERIOD_MS = 1000;
constexpr unsigned TIMER_PERIOD_SECONDS_MS = 250;
