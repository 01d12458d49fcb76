// The add-schedule dialog: the only place where the user creates a schedule.
#include "schedule/dialogs/AddScheduleDialog.h"

#include <commctrl.h>

#include <cstdio>

#include "app/ClockWindow.h"
#include "res/resource.h"
#include "schedule/dialogs/CalendarDialog.h"
#include "schedule/IconStage.h"
#include "util/DialogHelpers.h"

namespace {

const char CAPTION[] = "予定の追加";
const char DATE_PICTURE[] = "yyyy'年'M'月'd'日'dddd";
const char TIME_PICTURE[] = "tt h:mm";

// The type list in the order of the type codes.
const UINT TYPE_NAMES[] = {IDS_TYPE_SPECIFIC_DATE, IDS_TYPE_WEEKDAY, IDS_TYPE_MONTHLY, IDS_TYPE_YEARLY};
const UINT WEEK_NAMES[] = {IDS_WEEK_EVERY, IDS_WEEK_FIRST,  IDS_WEEK_SECOND,
                           IDS_WEEK_THIRD, IDS_WEEK_FOURTH, IDS_WEEK_LAST};
const UINT WEEKDAY_NAMES[] = {IDS_SUNDAY,   IDS_MONDAY, IDS_TUESDAY, IDS_WEDNESDAY,
                              IDS_THURSDAY, IDS_FRIDAY, IDS_SATURDAY};

// Which date controls each type shows; the time picker always shows.
struct TypeControls {
    BOOL date;          // date picker
    BOOL weekday;       // weekday and week lists
    BOOL monthShown;    // month list
    BOOL monthEnabled;  // a monthly schedule shows the month greyed beside the day
    BOOL day;           // day list
    BOOL calendar;      // calendar button
};
const TypeControls CONTROLS_BY_TYPE[] = {
    {TRUE, FALSE, FALSE, FALSE, FALSE, TRUE},   // 特定の日
    {FALSE, TRUE, FALSE, FALSE, FALSE, FALSE},  // 特定の曜日
    {FALSE, FALSE, TRUE, FALSE, TRUE, FALSE},   // 月に一度
    {FALSE, FALSE, TRUE, TRUE, TRUE, TRUE},     // 年に一度
};

// What the controls say the new schedule is.
struct ScheduleInput {
    uint32_t type = 0;
    SYSTEMTIME when{};
    uint32_t weekOfMonth = 0;
};

ClockWindow* clockOf(HWND dialog) { return reinterpret_cast<ClockWindow*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

bool readPicker(HWND dialog, int controlId, SYSTEMTIME& value) {
    return SendDlgItemMessageA(dialog, controlId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) == GDT_VALID;
}

void selectItem(HWND dialog, int controlId, WPARAM index) {
    SendDlgItemMessageA(dialog, controlId, CB_SETCURSEL, index, 0);
}

void showControlsForType(HWND dialog) {
    uint32_t type;
    if (!getComboSel(dialog, IDC_ADD_TYPE, &type) || type > Yearly) return;
    SendDlgItemMessageA(dialog, IDC_ADD_TIME, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(TIME_PICTURE));
    const TypeControls& shown = CONTROLS_BY_TYPE[type];
    showDlgItem(dialog, IDC_ADD_DATE, shown.date);
    showDlgItem(dialog, IDC_ADD_WEEKDAY, shown.weekday);
    showDlgItem(dialog, IDC_ADD_WEEK, shown.weekday);
    showDlgItem(dialog, IDC_ADD_MONTH, shown.monthShown);
    enableDlgItem(dialog, IDC_ADD_MONTH, shown.monthEnabled);
    showDlgItem(dialog, IDC_ADD_DAY, shown.day);
    enableDlgItem(dialog, IDC_ADD_CALENDAR, shown.calendar);
    showDlgItem(dialog, IDC_ADD_TIME, TRUE);
}

void startAddDialog(HWND dialog, const ClockWindow& clock) {
    if (HICON icon = clock.notifyIcons[STAGE_UPRIGHT]) {
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SYSTEMTIME today;
    readLocalTime(&today);
    fillComboFromStrings(dialog, IDC_ADD_TYPE, TYPE_NAMES, 4, 0);
    fillComboFromStrings(dialog, IDC_ADD_WEEK, WEEK_NAMES, 6, 0);
    fillComboFromStrings(dialog, IDC_ADD_WEEKDAY, WEEKDAY_NAMES, 7, 0);
    fillNumberedComboBox(dialog, IDC_ADD_DAY, 1, 30, "%d日", today.wDay - 1);
    SendDlgItemMessageA(dialog, IDC_ADD_DAY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("31日（最終日)"));
    selectItem(dialog, IDC_ADD_DAY, today.wDay - 1);
    fillNumberedComboBox(dialog, IDC_ADD_MONTH, 1, 12, "%d月", today.wMonth - 1);
    // The pickers keep the value they take when created: the current date and time.
    SendDlgItemMessageA(dialog, IDC_ADD_DATE, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(DATE_PICTURE));
    showControlsForType(dialog);
}

// The calendar's date goes to both the date picker (at midnight) and the month
// and day lists, whichever the type shows.
void pickFromCalendar(HWND dialog) {
    readPicker(dialog, IDC_ADD_DATE, calendarDate);
    if (showCalendarDialog(dialog) != IDOK) return;
    calendarDate.wHour = calendarDate.wMinute = calendarDate.wSecond = calendarDate.wMilliseconds = 0;
    SendDlgItemMessageA(dialog, IDC_ADD_DATE, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&calendarDate));
    selectItem(dialog, IDC_ADD_MONTH, calendarDate.wMonth - 1);
    selectItem(dialog, IDC_ADD_DAY, calendarDate.wDay - 1);
}

// The list index is the stored value: day 1 is index 0, "31日（最終日)" is day 31.
bool readDayOrMonth(HWND dialog, int controlId, WORD& value) {
    uint32_t index;
    if (!getComboSel(dialog, controlId, &index)) return false;
    value = static_cast<WORD>(index + 1);
    return true;
}

// Only the members that count for the type are set; the time comes from the
// time picker alone, whatever time of day the date picker holds.
bool readScheduleInput(HWND dialog, ScheduleInput& input) {
    input = ScheduleInput();
    SYSTEMTIME time;
    if (!readPicker(dialog, IDC_ADD_TIME, time) || !getComboSel(dialog, IDC_ADD_TYPE, &input.type)) return false;
    SYSTEMTIME& when = input.when;
    when.wHour = time.wHour;
    when.wMinute = time.wMinute;
    switch (input.type) {
    case SpecificDate: {
        SYSTEMTIME date;
        if (!readPicker(dialog, IDC_ADD_DATE, date)) return false;
        when.wYear = date.wYear;
        when.wMonth = date.wMonth;
        when.wDayOfWeek = date.wDayOfWeek;
        when.wDay = date.wDay;
        return true;
    }
    case Weekday: {
        uint32_t dayOfWeek;
        if (!getComboSel(dialog, IDC_ADD_WEEKDAY, &dayOfWeek) || !getComboSel(dialog, IDC_ADD_WEEK, &input.weekOfMonth))
            return false;
        when.wDayOfWeek = static_cast<WORD>(dayOfWeek);
        return input.weekOfMonth <= WEEK_LAST;
    }
    case Monthly:
        return readDayOrMonth(dialog, IDC_ADD_DAY, when.wDay);
    case Yearly:
        return readDayOrMonth(dialog, IDC_ADD_MONTH, when.wMonth) && readDayOrMonth(dialog, IDC_ADD_DAY, when.wDay);
    default:
        return false;
    }
}

bool addFromControls(HWND dialog, ClockWindow& clock, bool emptyContent) {
    ScheduleInput input;
    if (!readScheduleInput(dialog, input)) return false;
    TextBuffer content;
    if (!emptyContent && !content.readDlgItem(dialog, IDC_ADD_CONTENT)) return false;
    return clock.addSchedule(dialog, input.type, input.when, input.weekOfMonth, content.c_str());
}

// 設定: asks before adding an empty schedule; a failure offers to try again.
void confirmAdd(HWND dialog, ClockWindow& clock) {
    for (;;) {
        const bool emptyContent = getDlgItemTextLength(dialog, IDC_ADD_CONTENT) == 0;
        if (emptyContent && MessageBoxA(dialog, "予定の内容が未入力です。\nこのまま続行しますか？", CAPTION,
                                        MB_YESNO | MB_ICONQUESTION) != IDYES) {
            return;
        }
        if (addFromControls(dialog, clock, emptyContent)) {
            EndDialog(dialog, IDOK);
            return;
        }
        if (MessageBoxA(dialog, "予定の追加に失敗しました。", CAPTION, MB_RETRYCANCEL | MB_ICONERROR) != IDRETRY) {
            EndDialog(dialog, IDCANCEL);
            return;
        }
    }
}

INT_PTR CALLBACK addScheduleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        startAddDialog(dialog, *reinterpret_cast<ClockWindow*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const UINT code = HIWORD(wParam);
    switch (LOWORD(wParam)) {
    case IDC_ADD_TYPE:
        if (code != CBN_SELCHANGE) return FALSE;
        showControlsForType(dialog);
        return TRUE;
    case IDOK:
        confirmAdd(dialog, *clockOf(dialog));
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_ADD_CALENDAR:
        pickFromCalendar(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool fillNumberedComboBox(HWND dialog, int controlId, int first, int last, const char* format, WPARAM selection) {
    HWND combo = GetDlgItem(dialog, controlId);
    if (!combo || first > last) return false;
    for (int number = first; number <= last; ++number) {
        char text[512];
        std::snprintf(text, sizeof text, format, number);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(combo, CB_SETCURSEL, selection, 0);
    return true;
}

INT_PTR ClockWindow::showAddScheduleDialog(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ADD_SCHEDULE), owner ? owner : hwnd,
                           addScheduleProc, reinterpret_cast<LPARAM>(this));
}
