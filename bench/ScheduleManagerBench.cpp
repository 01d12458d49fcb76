// The schedule manager over data files of 1,000 to 10,000 schedules, under
// Wine or Windows: how long it takes to open (today's rows), to show every
// schedule, to show one type, and to sort a column, each until the list has
// painted, beside the day reload's reading of the same file. Prints figures.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSchedules.h"
#include "app/ClockWindow.h"
#include "res/resource.h"
#include "schedule/dialogs/ScheduleManager.h"
#include "schedule/ScheduleRows.h"
#include "settings/Flags.h"

namespace {

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER started() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

struct Figures {
    double reload, open, all, oneType, sort;
    int todayRows, allRows, typeRows;
};

ScheduleManagerContext* running = nullptr;
LARGE_INTEGER openStarted;
Figures figures;

int rowCount() { return static_cast<int>(SendMessageA(running->list(), LVM_GETITEMCOUNT, 0, 0)); }

double timeFilter(int filter) {
    const LARGE_INTEGER start = started();
    HWND dialog = running->dialog;
    SendDlgItemMessageA(dialog, IDC_MANAGER_FILTER, CB_SETCURSEL, filter, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_FILTER, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_MANAGER_FILTER)));
    UpdateWindow(running->list());
    return millisecondsSince(start);
}

// Runs inside the manager's modal loop once it has opened and painted.
void CALLBACK measureInside(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    figures.open = millisecondsSince(openStarted);
    figures.todayRows = rowCount();
    figures.oneType = timeFilter(FILTER_WEEKDAY);
    figures.typeRows = rowCount();
    figures.all = timeFilter(FILTER_ALL);
    figures.allRows = rowCount();
    const LARGE_INTEGER start = started();
    running->sortByColumn(COLUMN_RECURRENCE);
    UpdateWindow(running->list());
    figures.sort = millisecondsSince(start);
    EndDialog(running->dialog, IDOK);
}

void measure(ClockWindow& clock, int count) {
    std::FILE* file = std::fopen(clock.scheduleFilePath, "wb");
    writeBenchSchedules(file, count);
    std::fclose(file);
    LARGE_INTEGER start = started();
    clock.reloadToday();
    figures.reload = millisecondsSince(start);

    ScheduleManagerContext context;
    context.owner = &clock;
    running = &context;
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, measureInside);
    openStarted = started();
    context.showScheduleManager();
    running = nullptr;
    std::printf("%6d schedules: day reload %7.1f ms | open %7.1f ms (%d rows today) | all %7.1f ms (%d rows) | "
                "one type %7.1f ms (%d rows) | sort %7.1f ms\n",
                count, figures.reload, figures.open, figures.todayRows, figures.all, figures.allRows, figures.oneType,
                figures.typeRows, figures.sort);
}

}  // namespace

// The schedule counts to measure are the arguments; 1,000, 3,000 and 10,000 without.
int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "quillet-manager-bench.dat";

    ClockWindow& clock = clockWindow;
    clock.hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
    clock.flags = FLAGS_DEFAULT;
    clock.scheduleFilePath = new char[path.size() + 1];
    std::memcpy(clock.scheduleFilePath, path.c_str(), path.size() + 1);
    // Sunday 15 December 2024: the one-time schedules (all in 2025) are still to
    // come, so the reload only reads; Sunday's, the 15th's and 15 December's occur today.
    clock.now = makeSystemTime(2024, 12, 15, 9, 0);
    clock.now.wDayOfWeek = 0;
    clock.buildDatePicture();
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 3000, 10000};
    for (int count : counts) measure(clock, count);
    DeleteFileA(path.c_str());
    DestroyWindow(clock.hwnd);
    return 0;
}
