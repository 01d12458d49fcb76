#include "schedule/dialogs/CalendarDialog.h"

#include <commctrl.h>

#include "res/resource.h"

SYSTEMTIME calendarDate;

namespace {

INT_PTR CALLBACK calendarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_CALENDAR_MONTH, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&calendarDate));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            SendDlgItemMessageA(dialog, IDC_CALENDAR_MONTH, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&calendarDate));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR showCalendarDialog(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CALENDAR), owner, calendarProc, 0);
}
