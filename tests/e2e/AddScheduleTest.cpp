// Adding schedules through the running clock's add dialog, driven from outside
// through its controls as a user would; what counts is what lands in the data file.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "e2e/ClockTest.h"
#include "e2e/TrayProbe.h"
#include "res/resource.h"
#include "schedule/ScheduleFile.h"

using namespace harness;

namespace {

const int DATE_ROW[] = {IDC_ADD_DATE, IDC_ADD_WEEKDAY,  IDC_ADD_WEEK, IDC_ADD_MONTH,
                        IDC_ADD_DAY,  IDC_ADD_CALENDAR, IDC_ADD_TIME};

// Shown (V), hidden (-) or shown greyed (g), for each control of DATE_ROW.
std::string controlStates(HWND dialog) {
    std::string states;
    for (int id : DATE_ROW) {
        HWND control = GetDlgItem(dialog, id);
        states += !IsWindowVisible(control) ? '-' : IsWindowEnabled(control) ? 'V' : 'g';
    }
    return states;
}

// Waits for a message box of the add dialog with this text; null on time-out.
HWND messageBox(HWND dialog, const char* text) {
    for (int i = 0; i < 100; ++i, Sleep(50)) {
        HWND box = waitForDialog(dialog, "予定の追加", 50);
        if (box && textOf(GetDlgItem(box, 0xFFFF)) == text) return box;
    }
    return nullptr;
}

void answer(HWND box, int button) {
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, button, 0);
    ASSERT_TRUE(waitGone(box));
}

const char EMPTY_QUESTION[] = "予定の内容が未入力です。\nこのまま続行しますか？";
const char FAILURE[] = "予定の追加に失敗しました。";
const char DAMAGED[] = "予定データファイルが不正です。\nいくつかの予定が消えた可能性があります。)";

// Picks a date on the calendar; it lands in the date picker at midnight and in the month and day lists.
void pickOnCalendar(HWND dialog, SYSTEMTIME date) {
    clickButton(dialog, IDC_ADD_CALENDAR);
    HWND calendar = waitForDialog(dialog, "カレンダー");
    ASSERT_NE(calendar, nullptr);
    sendTimeMessage(GetDlgItem(calendar, IDC_CALENDAR_MONTH), MCM_SETCURSEL, 0, date);
    clickButton(calendar, IDOK);
    ASSERT_TRUE(waitGone(calendar));
    SYSTEMTIME picked = {};
    sendTimeMessage(GetDlgItem(dialog, IDC_ADD_DATE), DTM_GETSYSTEMTIME, 0, picked);
    EXPECT_EQ(picked.wMonth * 100 + picked.wDay, date.wMonth * 100 + date.wDay);
    EXPECT_EQ(picked.wHour + picked.wMinute + picked.wSecond, 0) << "the time of day is cleared";
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ADD_MONTH, CB_GETCURSEL, 0, 0), date.wMonth - 1);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_ADD_DAY, CB_GETCURSEL, 0, 0), date.wDay - 1);
}

// Enter in the content starts a new line instead of pressing 設定.
void pressEnterInContent(HWND dialog) {
    HWND content = GetDlgItem(dialog, IDC_ADD_CONTENT);
    SendMessageA(content, EM_SETSEL, 32767, 32767);
    PostMessageA(content, WM_KEYDOWN, VK_RETURN, 1);
    bool (*newLine)(void*) = [](void* edit) { return textOf(static_cast<HWND>(edit)).find('\n') != std::string::npos; };
    EXPECT_TRUE(waitUntil(5000, newLine, content));
}

void lastTuesday(HWND dialog) {
    chooseItem(dialog, IDC_ADD_WEEKDAY, 2);
    chooseItem(dialog, IDC_ADD_WEEK, 5);
}

void tuesdayWithALineBreak(HWND dialog) {
    chooseItem(dialog, IDC_ADD_WEEKDAY, 2);
    pressEnterInContent(dialog);
}

// The data file's last record once it holds `count` records.
bool lastRecord(const std::string& path, uint32_t count, StoredSchedule& last) {
    for (int i = 0; i < 100; ++i, Sleep(50)) {
        StoredScheduleList list;
        loadSchedulesBesideClock(path, list);
        if (list.size() != count) continue;
        last.record = list.at(count - 1)->record;
        last.content.assign(list.at(count - 1)->content.c_str());
        return true;
    }
    return false;
}

using AddSchedule = ClockTest;

TEST_F(AddSchedule, EachTypeIsStoredAsTheControlsSayAndAnnouncedWithoutARestart) {
    FakeTimeClock clock(folder, "2026-12-08 10:30:40");  // a Tuesday
    ASSERT_TRUE(clock.started());
    const std::string dataPath = folder.file("Schedules.dat");
    // The time picker is set to the hour and minute of `when`; the date picker's
    // own time of day counts for nothing.
    const struct {
        const char* typed;  // content; empty asks first, and No keeps the dialog
        const char* stored;
        int type;
        const char* controls;  // date, weekday, week, month, day, calendar, time
        void (*fill)(HWND dialog);
        SYSTEMTIME when;
        uint32_t weekOfMonth, duplicateIndex;
    } rows[] = {
        // First, so that it is added well before its minute.
        {"朝会", "朝会\r\n", 1, "-VV--gV", tuesdayWithALineBreak, {0, 0, 2, 0, 10, 31, 0, 0}, 0, 0},
        {"歯医者", "歯医者", 0, "V----VV", [](HWND d) { pickOnCalendar(d, {2027, 3, 5, 5, 15, 42, 17, 0}); },
         {2027, 3, 5, 5, 9, 30, 0, 0}, 0, 0},
        {"月末", "月末", 1, "-VV--gV", lastTuesday, {0, 0, 2, 0, 18, 5, 0, 0}, 5, 0},
        {"月末", "月末", 1, "-VV--gV", lastTuesday, {0, 0, 2, 0, 18, 5, 0, 0}, 5, 1},
        {"", "", 2, "---gVgV", [](HWND d) { chooseItem(d, IDC_ADD_DAY, 30); }, {0, 0, 0, 31, 7, 0, 0, 0}, 0, 0},
        {"誕生日", "誕生日", 3, "---VVVV", [](HWND d) { pickOnCalendar(d, {2027, 2, 0, 14, 0, 0, 0, 0}); },
         {0, 2, 0, 14, 0, 0, 0, 0}, 0, 0},
    };
    uint32_t count = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(count);
        // Ctrl+S and a double click on the face both open the dialog.
        if (count % 2) {
            PostMessageA(clock.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
        } else {
            PostMessageA(clock.hwnd(), WM_COMMAND, CMD_ADD_SCHEDULE, 0);
        }
        HWND dialog = waitForDialog(clock.hwnd(), "予定の追加");
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, IDC_ADD_CONTENT, row.typed);
        chooseItem(dialog, IDC_ADD_TYPE, row.type);
        EXPECT_EQ(controlStates(dialog), row.controls);
        row.fill(dialog);
        SYSTEMTIME time = makeSystemTime(2026, 1, 1, row.when.wHour, row.when.wMinute);
        sendTimeMessage(GetDlgItem(dialog, IDC_ADD_TIME), DTM_SETSYSTEMTIME, GDT_VALID, time);
        clickButton(dialog, IDOK);
        if (!*row.typed) {
            answer(messageBox(dialog, EMPTY_QUESTION), IDNO);
            EXPECT_TRUE(IsWindowVisible(dialog));
            clickButton(dialog, IDOK);
            answer(messageBox(dialog, EMPTY_QUESTION), IDYES);
        }
        ASSERT_TRUE(waitGone(dialog));
        StoredSchedule added;
        ASSERT_TRUE(lastRecord(dataPath, ++count, added));
        EXPECT_EQ(added.record.type, static_cast<uint32_t>(row.type));
        EXPECT_EQ(0, std::memcmp(&added.record.when, &row.when, sizeof row.when));
        EXPECT_EQ(added.record.weekOfMonth, row.weekOfMonth);
        EXPECT_EQ(added.record.duplicateIndex, row.duplicateIndex);
        EXPECT_STREQ(added.content.c_str(), row.stored);
    }
    // The first one, for 10:31 today, is announced at its minute.
    bool (*announced)(void*) = [](void* w) { return trayIconShown(static_cast<HWND>(w), 1); };
    EXPECT_TRUE(waitUntil(70000, announced, clock.hwnd()));

    // With the data file held by another program the write fails; Retry tries again.
    HANDLE held = CreateFileA(dataPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    PostMessageA(clock.hwnd(), WM_COMMAND, CMD_ADD_SCHEDULE, 0);
    HWND dialog = waitForDialog(clock.hwnd(), "予定の追加");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, IDC_ADD_CONTENT, "再試行");
    clickButton(dialog, IDOK);
    answer(messageBox(dialog, FAILURE), IDRETRY);
    HWND box = messageBox(dialog, FAILURE);
    CloseHandle(held);
    answer(box, IDRETRY);
    ASSERT_TRUE(waitGone(dialog));
    StoredSchedule added;
    ASSERT_TRUE(lastRecord(dataPath, ++count, added));
    EXPECT_STREQ(added.content.c_str(), "再試行");
}

// The report of a damaged data file is modal to the add dialog: 設定 cannot be
// pressed again under it, and the new schedule is stored once.
TEST_F(AddSchedule, DamageReportKeepsTheAddDialogFromAddingTwice) {
    const std::string dataPath = folder.file("Schedules.dat");
    // 75 bytes of garbage between two good records (the first ends after its two-byte content).
    ASSERT_TRUE(writeScheduleFile(dataPath, {{Weekday, weekday(MONDAY, 9, 0), "前"},
                                             {Weekday, weekday(MONDAY, 10, 0), "後"}}));
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(folder.readFile("Schedules.dat", &bytes));
    bytes.insert(bytes.begin() + sizeof(ScheduleRecord) + 2, 75, 0x5A);
    ASSERT_TRUE(folder.writeFile("Schedules.dat", bytes));

    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());
    PostMessageA(clock.hwnd(), WM_COMMAND, CMD_ADD_SCHEDULE, 0);
    HWND dialog = waitForDialog(clock.hwnd(), "予定の追加");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, IDC_ADD_CONTENT, "月次");
    chooseItem(dialog, IDC_ADD_TYPE, Monthly);
    clickButton(dialog, IDOK);
    HWND box = messageBox(dialog, DAMAGED);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindowEnabled(dialog));
    answer(box, IDOK);
    ASSERT_TRUE(waitGone(dialog));
    StoredScheduleList list;
    loadSchedulesBesideClock(dataPath, list);
    std::vector<std::string> contents;
    for (const StoredSchedule* s : list) contents.push_back(s->content.c_str());
    EXPECT_EQ(contents, (std::vector<std::string>{"前", "後", "月次"}));
}

}  // namespace
