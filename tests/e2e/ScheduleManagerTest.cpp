// The schedule manager of the running clock, read and driven from outside: its
// list view's cells across processes, clicks on its rows and headers, its
// pop-up menu and the dialogs it opens; what counts is what the list shows, what
// the data file holds and which schedules are announced.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/ClockTest.h"
#include "e2e/TrayProbe.h"
#include "res/resource.h"
#include "schedule/ScheduleFile.h"

using namespace harness;

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Contents = std::vector<std::string>;

const char MANAGER[] = "クイレット - 予定マネージャ";
constexpr int COLUMNS = 5;
constexpr int CONTENT = 3;

class ScheduleManager : public ClockTest {
protected:
    void writeSchedules(const std::vector<ScheduleEntry>& entries) const {
        ASSERT_TRUE(writeScheduleFile(folder.file("Schedules.dat"), entries));
    }

    // The contents of the data file's records in order.
    Contents stored() const {
        Contents found;
        StoredScheduleList list;
        loadSchedulesBesideClock(folder.file("Schedules.dat"), list);
        for (const StoredSchedule* s : list) found.push_back(s->content.c_str());
        return found;
    }
};

HWND openManager(HWND clock) {
    PostMessageA(clock, WM_COMMAND, CMD_SCHEDULE_MANAGER, 0);
    return waitForDialog(clock, MANAGER);
}

HWND listOf(HWND manager) { return GetDlgItem(manager, IDC_MANAGER_LIST); }

// The list's contents once they are `expected`, or as they are after five seconds.
Contents contents(HWND manager, const Contents& expected) {
    Contents found;
    for (int i = 0; i < 100; ++i, Sleep(50)) {
        found.clear();
        for (const auto& row : listViewCells(listOf(manager), COLUMNS)) found.push_back(row[CONTENT]);
        if (found == expected) break;
    }
    return found;
}

void closeManager(HWND manager) {
    clickButton(manager, IDOK);
    ASSERT_TRUE(waitGone(manager));
}

SYSTEMTIME at(WORD dayOfWeek, WORD day, WORD hour, WORD minute, WORD month = 0, WORD year = 0) {
    return {year, month, dayOfWeek, day, hour, minute, 0, 0};
}

TEST_F(ScheduleManager, OpensOnTodayFiltersByTypeAndSortsByText) {
    // Wednesday 9 December 2026: none of them occurs today.
    writeSchedules({{SpecificDate, at(5, 25, 18, 0, 12, 2026), "忘年会"},
                    {Weekday, at(TUESDAY, 0, 10, 0), "朝会", 0, at(TUESDAY, 8, 10, 0, 12, 2026)},
                    {Yearly, at(0, 24, 19, 30, 12), "イブ"},
                    {7, at(0, 9, 9, 0, 12, 2026), "不明な種類"},
                    {Monthly, at(0, 8, 9, 0), "月次報告"},
                    {Yearly, at(0, 3, 9, 5, 2), "節分"}});
    FakeTimeClock clock(folder, "2026-12-09 10:00:00");
    ASSERT_TRUE(clock.started());
    HWND manager = openManager(clock.hwnd());
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(contents(manager, {}), Contents{});
    // Every schedule of a known type, the newest record on top.
    chooseItem(manager, IDC_MANAGER_FILTER, 1);
    const Rows all = {{"年に一度", "毎年 2月3日", "午前 9:05", "節分", ""},
                      {"月に一度", "毎月 8日", "午前 9:00", "月次報告", ""},
                      {"年に一度", "毎年 12月24日", "午後 7:30", "イブ", ""},
                      {"特定の曜日", "毎週 火曜日", "午前 10:00", "朝会", "2026年12月8日 (火) 午前 10:00"},
                      {"特定の日", "2026年12月25日 (金)", "午後 6:00", "忘年会", ""}};
    EXPECT_EQ(listViewCells(listOf(manager), COLUMNS), all);
    const struct {
        int filter;
        Contents shown;
    } filters[] = {{2, {"忘年会"}}, {3, {"朝会"}}, {4, {"月次報告"}}, {5, {"節分", "イブ"}},
                   {0, {}},         {1, {"節分", "月次報告", "イブ", "朝会", "忘年会"}}};
    for (const auto& row : filters) {
        chooseItem(manager, IDC_MANAGER_FILTER, row.filter);
        EXPECT_EQ(contents(manager, row.shown), row.shown) << "filter " << row.filter;
    }
    // By text, not by value: 午後 before 午前, 10:00 before 9:00, 12月 before 2月.
    const struct {
        int column;
        bool reopen;  // the order lasts while the program runs
        Contents sorted;
    } clicks[] = {{2, false, {"忘年会", "イブ", "朝会", "月次報告", "節分"}},
                  {2, false, {"節分", "月次報告", "朝会", "イブ", "忘年会"}},
                  {1, false, {"忘年会", "月次報告", "朝会", "イブ", "節分"}},
                  {1, true, {"節分", "イブ", "朝会", "月次報告", "忘年会"}}};
    for (const auto& click : clicks) {
        if (click.reopen) {
            closeManager(manager);
            manager = openManager(clock.hwnd());
            ASSERT_NE(manager, nullptr);
            chooseItem(manager, IDC_MANAGER_FILTER, 1);
        }
        clickListHeader(listOf(manager), click.column);
        EXPECT_EQ(contents(manager, click.sorted), click.sorted) << "column " << click.column;
    }
    closeManager(manager);
}

TEST_F(ScheduleManager, DeletesAtOnceAndAddsUnderTheCurrentFilter) {
    // Tuesday 8 December 2026; three schedules are due at 10:33.
    writeSchedules({{Weekday, at(TUESDAY, 0, 10, 33), "残す"},
                    {Monthly, at(0, 8, 10, 33), "メニューで削除"},
                    {Yearly, at(0, 8, 10, 33, 12), "詳細で削除"},
                    {SpecificDate, at(4, 31, 9, 0, 12, 2026), "大晦日"}});
    FakeTimeClock clock(folder, "2026-12-08 10:31:30");
    ASSERT_TRUE(clock.started());
    HWND manager = openManager(clock.hwnd());
    ASSERT_NE(manager, nullptr);
    HWND list = listOf(manager);
    const Contents today = {"詳細で削除", "メニューで削除", "残す"};
    ASSERT_EQ(contents(manager, today), today);
    // A right click beside the rows selects nothing and opens no menu.
    RECT client;
    GetClientRect(list, &client);
    postClick(list, {client.right / 2, client.bottom - 4}, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(waitForMenu(1000), nullptr);
    const struct {
        int row;
        bool fromMenu;  // 削除 in the pop-up, else 削除 in the details opened by a double click
        bool fileHeld;  // the data file held open without sharing by another program
        Contents shown, storedAfter;
    } deletions[] = {
        // A deletion the data file did not take keeps its row, and the schedule rings at 10:33.
        {2, true, true, {"詳細で削除", "メニューで削除", "残す"}, {"残す", "メニューで削除", "詳細で削除", "大晦日"}},
        {1, true, false, {"詳細で削除", "残す"}, {"残す", "詳細で削除", "大晦日"}},
        {0, false, false, {"残す"}, {"残す", "大晦日"}},
    };
    for (const auto& row : deletions) {
        SCOPED_TRACE(row.row);
        HANDLE held = row.fileHeld ? CreateFileA(folder.file("Schedules.dat").c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, 0, nullptr)
                                   : INVALID_HANDLE_VALUE;
        ASSERT_EQ(held != INVALID_HANDLE_VALUE, row.fileHeld);
        if (row.fromMenu) {
            postClick(list, listRowPoint(list, row.row), WM_RBUTTONDOWN, WM_RBUTTONUP);
            HWND menu = waitForMenu();
            ASSERT_NE(menu, nullptr);
            PostMessageA(menu, WM_CHAR, 'D', 0);
        } else {
            const POINT point = listRowPoint(list, row.row);
            postClick(list, point, WM_LBUTTONDOWN, WM_LBUTTONUP);
            postClick(list, point, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
            HWND detail = waitForDialog(manager, "予定の詳細");
            ASSERT_NE(detail, nullptr);
            EXPECT_EQ(textOf(GetDlgItem(detail, IDC_DETAIL_DELETE)), "削除(&D)");
            clickButton(detail, IDC_DETAIL_DELETE);
            ASSERT_TRUE(waitGone(detail));
        }
        if (held != INVALID_HANDLE_VALUE) {
            // The clock answers again once the deletion is over; only then is the file let go.
            Sleep(500);
            DWORD_PTR ignored;
            SendMessageTimeoutA(manager, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
            CloseHandle(held);
        }
        EXPECT_EQ(contents(manager, row.shown), row.shown);
        EXPECT_EQ(stored(), row.storedAfter);
    }
    // Adding rebuilds the rows under the chosen filter, the new one on top.
    chooseItem(manager, IDC_MANAGER_FILTER, 3);
    clickButton(manager, IDC_MANAGER_ADD);
    HWND add = waitForDialog(manager, "予定の追加");
    ASSERT_NE(add, nullptr);
    SetDlgItemTextA(add, IDC_ADD_CONTENT, "追加");
    chooseItem(add, IDC_ADD_TYPE, Weekday);
    chooseItem(add, IDC_ADD_WEEKDAY, 5);
    clickButton(add, IDOK);
    ASSERT_TRUE(waitGone(add));
    const Contents afterAdding = {"追加", "残す"};
    EXPECT_EQ(contents(manager, afterAdding), afterAdding);
    closeManager(manager);
    // At 10:33 only the schedule kept is announced: the deleted ones left today's list.
    clock.moveTo("2026-12-08 10:32:50");
    bool (*announced)(void*) = [](void* w) { return trayIconShown(static_cast<HWND>(w), 1); };
    ASSERT_TRUE(waitUntil(60000, announced, clock.hwnd()));
    Sleep(2000);
    EXPECT_FALSE(trayIconShown(clock.hwnd(), 2));
}

}  // namespace
