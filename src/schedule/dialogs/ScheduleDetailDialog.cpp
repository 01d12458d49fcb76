#include "schedule/dialogs/ScheduleDetailDialog.h"

#include <cstdio>

#include "app/ClockWindow.h"
#include "res/resource.h"
#include "schedule/IconStage.h"
#include "schedule/ScheduleDescriptions.h"
#include "util/DialogHelpers.h"

namespace {

// The name line: the title, else the first line of the content, with its blanks
// tidied; empty when the schedule has neither.
void buildName(const StoredSchedule& schedule, TextBuffer& name) {
    if (!schedule.title.empty()) {
        name.assignBuffer(schedule.title);
    } else if (!schedule.content.empty()) {
        name.assignFirstLine(schedule.content);
    }
    name.collapseBlanks();
}

// The date and time of the schedule, "毎週 月曜日 午前 9:00".
void buildDateText(const ScheduleRecord& record, TextBuffer& date) {
    TextBuffer time;
    if (describeRecurrence(record, date) && describeTime(record, time)) {
        date.appendChar(' ');
        date.append(time.c_str());
    }
}

// Whole minutes since the announced occurrence; 0 when the clock has been set
// back before it, so nothing nonsensical is shown.
ULONGLONG minutesSince(ULONGLONG dueTime) {
    SYSTEMTIME local;
    readLocalTime(&local);
    FILETIME now{};
    if (!SystemTimeToFileTime(&local, &now) || fileTimeValue(now) < dueTime) return 0;
    return (fileTimeValue(now) - dueTime) / FILETIME_MINUTE;
}

bool startDetail(HWND dialog, ScheduleDetailRequest* request) {
    if (!request) return false;
    request->dialog = dialog;
    // The slot held 0 before, so only the last error tells a failed attach.
    SetLastError(0);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(request));
    if (GetLastError() != 0 || !request->schedule) return false;
    const StoredSchedule& schedule = *request->schedule;

    TextBuffer caption;
    caption.assign("予定の詳細 - ");
    TextBuffer name;
    buildName(schedule, name);
    if (!name.empty()) {
        caption.append(name.c_str());
        caption.appendChar(' ');
    } else {
        name.loadString(IDS_UNTITLED);
    }
    SetDlgItemTextA(dialog, IDC_DETAIL_NAME, name.c_str());
    SetDlgItemTextA(dialog, IDC_DETAIL_CONTENT, schedule.content.c_str());

    TextBuffer date;
    buildDateText(schedule.record, date);
    caption.append(date.c_str());
    SetWindowTextA(dialog, caption.c_str());
    // A missed schedule, or one announced half an hour ago or more, shows no age.
    if (request->fromNotification && request->iconStage != STAGE_OLIVE) {
        const ULONGLONG minutes = minutesSince(request->dueTime);
        if (minutes != 0) {
            char elapsed[64];
            std::snprintf(elapsed, sizeof elapsed, "  ( %d分経過 )", static_cast<int>(minutes));
            date.append(elapsed);
        }
    }
    SetDlgItemTextA(dialog, IDC_DETAIL_DATE, date.c_str());
    if (request->fromNotification) SetDlgItemTextA(dialog, IDC_DETAIL_DELETE, "消去(&R)");
    showDlgItem(dialog, IDC_DETAIL_CHANGE, FALSE);
    return true;
}

INT_PTR CALLBACK detailProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        if (!startDetail(dialog, reinterpret_cast<ScheduleDetailRequest*>(lParam))) EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    if (message != WM_COMMAND || !GetWindowLongPtrA(dialog, DWLP_USER)) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
    case IDC_DETAIL_DELETE:
    case IDC_DETAIL_CHANGE:
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void ScheduleDetailRequest::markFromNotification(uint8_t stage, ULONGLONG due) {
    iconStage = stage;
    fromNotification = 1;
    dueTime = due;
}

INT_PTR ScheduleDetailRequest::showScheduleDetail(HWND ownerWindow) {
    if (!ownerWindow && owner) ownerWindow = owner->hwnd;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SCHEDULE_DETAIL),
                                           ownerWindow, detailProc, reinterpret_cast<LPARAM>(this));
    dialog = nullptr;
    return result;
}
