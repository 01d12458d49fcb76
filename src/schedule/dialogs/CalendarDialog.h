// The calendar dialog: a month calendar on which the user picks one date.
#pragma once

#include <windows.h>

// The date handed to the calendar when it opens and the one picked there.
extern SYSTEMTIME calendarDate;

// Runs the calendar modally, starting on calendarDate; 1 (OK) when a date was
// picked into calendarDate, 2 when cancelled.
INT_PTR showCalendarDialog(HWND owner);
