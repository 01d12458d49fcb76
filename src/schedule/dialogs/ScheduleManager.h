// The schedule manager: the schedules of the data file in a five-column list,
// filtered by type or to today's, sortable by any column; from it the user adds
// schedules, opens a schedule's details and deletes schedules.
#pragma once

#include <windows.h>

#include "schedule/ScheduleFile.h"

class ClockWindow;

// One opening of the manager, owned by the command that opens it.
struct ScheduleManagerContext {
    ClockWindow* owner = nullptr;   // the clock
    HWND dialog = nullptr;          // the manager while it runs
    StoredScheduleList schedules;   // the manager's copy of the data file; every row points into it

    // Runs the manager modally, owned by the clock's window; IDOK or IDCANCEL.
    INT_PTR showScheduleManager();

    // What the dialog does, one operation per user action.
    bool start(HWND managerDialog);
    // Rebuilds the rows from `schedules` under the filter at this index, in
    // reverse file order (the newest record on top), unsorted.
    void fillScheduleRows(int filterIndex);
    // A click on a column's header: the same column again reverses the order,
    // another one sorts ascending.
    void sortByColumn(int column);
    void onRightClick();
    void onDoubleClick();
    void openDetails(StoredSchedule& schedule);
    // The row, the record in the data file, today's pending announcement of it
    // and the copy go at once.
    void deleteSchedule(StoredSchedule& schedule);
    // Through the add dialog; after an addition the copy is read again and the
    // rows rebuilt under the current filter.
    void addSchedule();
    HWND list() const;
};
