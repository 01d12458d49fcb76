// The schedule detail dialog: one schedule shown read-only, opened from an
// announced schedule's bell or from the schedule manager. It changes nothing
// itself; its end code tells the opener which button closed it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "schedule/ScheduleRecord.h"

class ClockWindow;

// End codes of the detail dialog besides IDOK (閉じる) and IDCANCEL (Esc, close box).
constexpr INT_PTR DETAIL_DELETE = 1024;  // 削除, or 消去 from a notification
constexpr INT_PTR DETAIL_CHANGE = 1025;  // 変更, never shown

// One run of the detail dialog, built by the opener on its stack.
struct ScheduleDetailRequest {
    HWND dialog = nullptr;              // the dialog while it runs
    ClockWindow* owner = nullptr;       // the clock, whose window owns the dialog by default
    StoredSchedule* schedule = nullptr; // the schedule shown; must not be null
    ULONGLONG dueTime = 0;              // local file time of the announced occurrence
    uint8_t fromNotification = 0;       // 1 when opened from a bell
    uint8_t iconStage = 0;              // the bell's stage; 6 shows no elapsed minutes

    // Marks the request as coming from an announced schedule with this bell stage and due time.
    void markFromNotification(uint8_t stage, ULONGLONG due);
    // Runs the dialog modally, owned by `ownerWindow` or else by the clock's
    // window; returns IDOK, IDCANCEL, DETAIL_DELETE or DETAIL_CHANGE.
    INT_PTR showScheduleDetail(HWND ownerWindow);
};
