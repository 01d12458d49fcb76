#include "schedule/dialogs/ScheduleManager.h"

#include <commctrl.h>

#include <new>
#include <vector>

#include "app/ClockWindow.h"
#include "res/resource.h"
#include "schedule/dialogs/ScheduleDetailDialog.h"
#include "schedule/ScheduleRows.h"
#include "util/DialogHelpers.h"

namespace {

// The sort order lasts for the life of the program, so that after reopening the
// manager a click on the column sorted last reverses its previous direction.
constexpr int NO_SORT_COLUMN = 100;
int sortColumn = NO_SORT_COLUMN;
int sortDirection = 1;

const UINT FILTER_NAMES[FILTER_COUNT] = {IDS_FILTER_TODAY,  IDS_FILTER_ALL,   IDS_TYPE_SPECIFIC_DATE,
                                         IDS_TYPE_WEEKDAY,  IDS_TYPE_MONTHLY, IDS_TYPE_YEARLY};

struct ColumnLayout {
    const char* header;
    int width;  // pixels at 96 dpi
    int format;
};
const ColumnLayout COLUMNS[COLUMN_COUNT] = {
    {"通知タイプ", 72, LVCFMT_CENTER}, {"予定日", 130, LVCFMT_LEFT}, {"時間", 75, LVCFMT_LEFT},
    {"内容", 120, LVCFMT_LEFT},        {"通知日", 190, LVCFMT_LEFT},
};

// Added to the list's own extended styles.
constexpr DWORD LIST_STYLES = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;

// The schedule submenu of the clock's menu.
constexpr int SCHEDULE_LIST_POPUP = 3;

ScheduleManagerContext* contextOf(HWND dialog) {
    return reinterpret_cast<ScheduleManagerContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The dialog's own layout follows the dpi; the columns, given in pixels, are
// scaled with the clock's.
bool insertColumns(HWND list, const ClockWindow& clock) {
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM | LVCF_ORDER;
        column.fmt = COLUMNS[i].format;
        column.cx = clock.scaled(COLUMNS[i].width);
        column.pszText = const_cast<char*>(COLUMNS[i].header);
        column.iSubItem = i;
        column.iOrder = i;
        if (SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column)) == -1) return false;
    }
    return true;
}

// Adds the schedule's row at `index`; false when it gets none (its type is
// unknown, or the list refused it).
bool insertRow(HWND list, int index, StoredSchedule& schedule) {
    TextBuffer text;
    if (!describeCell(schedule, COLUMN_TYPE, text)) return false;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = text.data;
    item.lParam = reinterpret_cast<LPARAM>(&schedule);
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row == -1) return false;
    for (int column = COLUMN_RECURRENCE; column < COLUMN_COUNT; ++column) {
        if (!describeCell(schedule, column, text)) continue;
        LVITEMA cell = {};
        cell.mask = LVIF_TEXT;
        cell.iItem = row;
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(text.c_str());
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
    }
    return true;
}

// The rows' schedules through the column's text, in the current direction.
int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM column) {
    const int order = compareScheduleCells(*reinterpret_cast<const StoredSchedule*>(first),
                                           *reinterpret_cast<const StoredSchedule*>(second), static_cast<int>(column));
    return order == 0 ? 0 : order > 0 ? sortDirection : -sortDirection;
}

// The schedules of the selected rows (at most one, the list being single-selection).
std::vector<StoredSchedule*> selectedSchedules(HWND list) {
    std::vector<StoredSchedule*> selected;
    try {
        for (int row = -1; (row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) != -1;) {
            LVITEMA item = {};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam) continue;
            selected.push_back(reinterpret_cast<StoredSchedule*>(item.lParam));
        }
    } catch (const std::bad_alloc&) {
        selected.clear();  // without memory, act on nothing rather than on part
    }
    return selected;
}

bool onNotify(ScheduleManagerContext& context, const NMHDR& header, LPARAM lParam) {
    if (header.idFrom != IDC_MANAGER_LIST) return TRUE;
    switch (header.code) {
    case LVN_COLUMNCLICK:
        context.sortByColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return TRUE;
    case NM_RCLICK:
        context.onRightClick();
        return FALSE;
    case NM_DBLCLK:
        context.onDoubleClick();
        return FALSE;
    default:
        return FALSE;
    }
}

bool onCommand(ScheduleManagerContext& context, WORD id, WORD code) {
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL)) {
        EndDialog(context.dialog, id);
        return TRUE;
    }
    if (code == BN_CLICKED && id == IDC_MANAGER_ADD) {
        context.addSchedule();
        return TRUE;
    }
    if (code == CBN_SELCHANGE && id == IDC_MANAGER_FILTER) {
        const int index = static_cast<int>(SendDlgItemMessageA(context.dialog, IDC_MANAGER_FILTER, CB_GETCURSEL, 0, 0));
        context.fillScheduleRows(index == CB_ERR ? FILTER_TODAY : index);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK managerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* context = reinterpret_cast<ScheduleManagerContext*>(lParam);
        if (!context || !context->start(dialog)) EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    ScheduleManagerContext* context = contextOf(dialog);
    if (!context) return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return onNotify(*context, *reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_COMMAND:
        return onCommand(*context, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

}  // namespace

HWND ScheduleManagerContext::list() const { return GetDlgItem(dialog, IDC_MANAGER_LIST); }

bool ScheduleManagerContext::start(HWND managerDialog) {
    dialog = managerDialog;
    // The slot held 0 before, so only the last error tells a failed attach.
    SetLastError(0);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    if (GetLastError() != 0) return false;
    SendMessageA(list(), LVM_SETEXTENDEDLISTVIEWSTYLE, LIST_STYLES, LIST_STYLES);
    fillComboFromStrings(dialog, IDC_MANAGER_FILTER, FILTER_NAMES, FILTER_COUNT, FILTER_TODAY);
    if (!insertColumns(list(), *owner)) return false;
    // A missing or damaged file only gives fewer rows.
    owner->loadAllSchedules(schedules);
    fillScheduleRows(FILTER_TODAY);
    return true;
}

void ScheduleManagerContext::fillScheduleRows(int filterIndex) {
    HWND rows = list();
    // Drawn once at the end rather than after every row.
    SendMessageA(rows, WM_SETREDRAW, FALSE, 0);
    SendMessageA(rows, LVM_DELETEALLITEMS, 0, 0);
    // The newest record on top: walking the file backwards and adding each row at
    // the end gives that order without moving the rows already in.
    int count = 0;
    for (uint32_t i = schedules.size(); i-- > 0;) {
        StoredSchedule& schedule = *schedules.at(i);
        if (!passesFilter(filterIndex, schedule.record, owner->now, owner->daysInMonth)) continue;
        if (insertRow(rows, count, schedule)) ++count;
    }
    SendMessageA(rows, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(rows, nullptr, TRUE);
}

void ScheduleManagerContext::sortByColumn(int column) {
    if (column == sortColumn) {
        sortDirection = -sortDirection;
    } else {
        sortColumn = column;
        sortDirection = 1;
    }
    // The comparison gets the rows' schedules rather than row indexes, which some
    // list views hand over stale while they sort.
    SendMessageA(list(), LVM_SORTITEMS, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(compareRows));
}

void ScheduleManagerContext::onRightClick() {
    HWND rows = list();
    if (!GetSubMenu(owner->hMenu, SCHEDULE_LIST_POPUP) || !rows) return;
    const std::vector<StoredSchedule*> selected = selectedSchedules(rows);
    if (selected.empty()) return;
    switch (owner->showScheduleListMenu(static_cast<UINT>(selected.size()))) {
    case CMD_ADD_SCHEDULE:
        addSchedule();
        break;
    case CMD_LIST_DELETE:
        for (StoredSchedule* schedule : selected) deleteSchedule(*schedule);
        break;
    case CMD_LIST_DETAILS:
        if (selected.size() == 1) openDetails(*selected.front());
        break;
    default:
        break;
    }
}

void ScheduleManagerContext::onDoubleClick() {
    const std::vector<StoredSchedule*> selected = selectedSchedules(list());
    if (selected.size() == 1) openDetails(*selected.front());
}

void ScheduleManagerContext::openDetails(StoredSchedule& schedule) {
    ScheduleDetailRequest request;
    request.owner = owner;
    request.schedule = &schedule;
    if (request.showScheduleDetail(dialog) == DETAIL_DELETE) deleteSchedule(schedule);
}

void ScheduleManagerContext::deleteSchedule(StoredSchedule& schedule) {
    // A schedule the data file still holds stays listed and pending: it would
    // come back at the next opening, and should still ring today.
    bool replaced = false;
    owner->rewriteSchedules(schedule.record, REWRITE_DELETE, &replaced);
    if (!replaced) return;
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(&schedule);
    const int row = static_cast<int>(SendMessageA(list(), LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(&find)));
    if (row != -1) SendMessageA(list(), LVM_DELETEITEM, row, 0);
    owner->removePending(schedule.record);
    removeStoredSchedule(schedules, &schedule);
}

void ScheduleManagerContext::addSchedule() {
    if (owner->showAddScheduleDialog(dialog) != IDOK) return;
    clearStoredSchedules(schedules);
    owner->loadAllSchedules(schedules);
    const int index = static_cast<int>(SendDlgItemMessageA(dialog, IDC_MANAGER_FILTER, CB_GETCURSEL, 0, 0));
    fillScheduleRows(index == CB_ERR ? FILTER_TODAY : index);
}

INT_PTR ScheduleManagerContext::showScheduleManager() {
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SCHEDULE_MANAGER),
                                           owner->hwnd, managerProc, reinterpret_cast<LPARAM>(this));
    dialog = nullptr;
    return result;
}

void ClockWindow::showScheduleManager() {
    ScheduleManagerContext context;
    context.owner = this;
    context.showScheduleManager();
    clearStoredSchedules(context.schedules);
}
