// Adding schedules through the running clock's add dialog, driven from outside
// through its controls; what counts is what lands in the data file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e/ClockTest.h"
#include "e2e/TrayProbe.h"
#include "res/resource.h"
#include "schedule/ScheduleFile.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_SNAP_TO_EDGES = 0x2;
constexpr int DATE_ROW_CONTROLS[] = {IDC_ADD_DATE, IDC_ADD_WEEKDAY, IDC_ADD_WEEK, IDC_ADD_MONTH, IDC_ADD_DAY,
                                          IDC_ADD_CALENDAR, IDC_ADD_TIME};

// Visible (V), hidden (-) or visible but greyed (g), for each control above.
std::string controlStates(HWND dialog) {
    std::string states;
    for (int id : DATE_ROW_CONTROLS) {
        HWND control = GetDlgItem(dialog, id);
        states += !IsWindowVisible(control) ? '-' : IsWindowEnabled(control) ? 'V' : 'g';
    }
    return states;
}

// Drives the add dialog of the clock whose window is `owner`.
class AddScheduleDialog : public StartedClockTest {
protected:

    HWND owner = nullptr;  // the clock's window

    std::string dataPath() const { return folder.file("Schedules.dat"); }

    // Opens the dialog as the Ctrl+S accelerator or a double click on the face does.
    HWND open(bool doubleClick = false) {
        if (doubleClick) {
            PostMessageA(owner, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
        } else {
            PostMessageA(owner, WM_COMMAND, CMD_ADD_SCHEDULE, 0);
        }
        return waitForDialog(owner, "予定の追加");
    }

    void setTime(HWND dialog, int picker, const SYSTEMTIME& value) {
        SYSTEMTIME time = value;
        ASSERT_NE(sendTimeMessage(GetDlgItem(dialog, picker), DTM_SETSYSTEMTIME, GDT_VALID, time), 0);
    }

    // The last record of the data file, once it holds `count` records.
    bool lastRecord(size_t count, StoredSchedule& last) {
        for (int i = 0; i < 100; ++i) {
            StoredScheduleList list;
            loadAllSchedules(dataPath().c_str(), list);
            if (list.size() == count) {
                last.record = list.at(count - 1)->record;
                last.content.assign(list.at(count - 1)->content.c_str());
                return true;
            }
            Sleep(50);
        }
        return false;
    }

    // Waits for a message box of the add dialog with this text; null on time-out.
    HWND messageBox(HWND dialog, const char* text) {
        for (int i = 0; i < 100; ++i) {
            HWND box = waitForDialog(dialog, "予定の追加");
            if (box && messageText(box) == text) return box;
            Sleep(50);
        }
        return nullptr;
    }
};

// The same, with a clock started on the real time.
class AddSchedule : public AddScheduleDialog {
protected:
    void SetUp() override {
        AddScheduleDialog::SetUp();
        startAt(FLAG_SNAP_TO_EDGES, 600, 20);
        owner = clock->hwnd();
    }
};

const char EMPTY_QUESTION[] = "予定の内容が未入力です。\nこのまま続行しますか？";
const char FAILURE[] = "予定の追加に失敗しました。";

SYSTEMTIME timeOfDay(WORD hour, WORD minute) { return makeSystemTime(2026, 1, 1, hour, minute); }

TEST_F(AddSchedule, EachTypeLandsInTheDataFileWithItsFields) {
    struct Row {
        const char* name;
        int type;
        const char* controls;  // date, weekday, week, month, day, calendar, time
        void (*fill)(HWND dialog);
        SYSTEMTIME time;
        SYSTEMTIME when;
        uint32_t weekOfMonth;
        uint32_t duplicateIndex;
    };
    const Row rows[] = {
        {"特定の日", 0, "V----VV",
         [](HWND d) {
             // The date picker's own time of day counts for nothing.
             SYSTEMTIME date = makeSystemTime(2027, 3, 5, 15, 42, 17);
             date.wDayOfWeek = 5;
             sendTimeMessage(GetDlgItem(d, IDC_ADD_DATE), DTM_SETSYSTEMTIME, GDT_VALID, date);
         },
         timeOfDay(9, 30), {2027, 3, 5, 5, 9, 30, 0, 0}, 0, 0},
        {"毎月 最終 月曜日", 1, "-VV--gV",
         [](HWND d) {
             chooseItem(d, IDC_ADD_WEEKDAY, 1);
             chooseItem(d, IDC_ADD_WEEK, 5);
         },
         timeOfDay(18, 5), {0, 0, 1, 0, 18, 5, 0, 0}, 5, 0},
        {"31日（最終日)", 2, "---gVgV", [](HWND d) { chooseItem(d, IDC_ADD_DAY, 30); }, timeOfDay(7, 0),
         {0, 0, 0, 31, 7, 0, 0, 0}, 0, 0},
        {"年に一度", 3, "---VVVV",
         [](HWND d) {
             chooseItem(d, IDC_ADD_MONTH, 11);
             chooseItem(d, IDC_ADD_DAY, 24);
         },
         timeOfDay(0, 0), {0, 12, 0, 25, 0, 0, 0, 0}, 0, 0},
        // The same weekly schedule again tells itself apart by its index.
        {"毎月 最終 月曜日 again", 1, "-VV--gV",
         [](HWND d) {
             chooseItem(d, IDC_ADD_WEEKDAY, 1);
             chooseItem(d, IDC_ADD_WEEK, 5);
         },
         timeOfDay(18, 5), {0, 0, 1, 0, 18, 5, 0, 0}, 5, 1},
    };
    size_t count = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND dialog = open(count % 2 == 1);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(selectedItem(dialog, IDC_ADD_TYPE), 0);
        chooseItem(dialog, IDC_ADD_TYPE, row.type);
        EXPECT_EQ(controlStates(dialog), row.controls);
        row.fill(dialog);
        setTime(dialog, IDC_ADD_TIME, row.time);
        SetDlgItemTextA(dialog, IDC_ADD_CONTENT, row.name);
        clickButton(dialog, IDOK);
        ASSERT_TRUE(waitGone(dialog));
        StoredSchedule added;
        ASSERT_TRUE(lastRecord(++count, added));
        EXPECT_EQ(added.record.type, static_cast<uint32_t>(row.type));
        EXPECT_EQ(0, memcmp(&added.record.when, &row.when, sizeof row.when))
            << added.record.when.wYear << "-" << added.record.when.wMonth << "-" << added.record.when.wDay << " ("
            << added.record.when.wDayOfWeek << ") " << added.record.when.wHour << ":" << added.record.when.wMinute
            << ":" << added.record.when.wSecond << "." << added.record.when.wMilliseconds;
        EXPECT_EQ(added.record.weekOfMonth, row.weekOfMonth);
        EXPECT_EQ(added.record.duplicateIndex, row.duplicateIndex);
        EXPECT_EQ(added.record.titleLength, 0u);
        EXPECT_STREQ(added.content.c_str(), row.name);
    }
}

TEST_F(AddSchedule, EmptyContentIsAskedAboutAndAFailedWriteCanBeRetried) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    chooseItem(dialog, IDC_ADD_TYPE, 2);
    // No keeps the dialog open and adds nothing.
    clickButton(dialog, IDOK);
    HWND box = messageBox(dialog, EMPTY_QUESTION);
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(waitGone(box));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(selectedItem(dialog, IDC_ADD_TYPE), 2);
    EXPECT_FALSE(folder.exists("Schedules.dat"));

    // With the data file held by another program the write fails; Retry asks
    // about the empty content again and tries again.
    ASSERT_TRUE(folder.writeFile("Schedules.dat", {}));
    HANDLE held = CreateFileA(dataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    clickButton(dialog, IDOK);
    for (int attempt = 0; attempt < 2; ++attempt) {
        box = messageBox(dialog, EMPTY_QUESTION);
        ASSERT_NE(box, nullptr) << attempt;
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        box = messageBox(dialog, FAILURE);
        ASSERT_NE(box, nullptr) << attempt;
        if (attempt == 1) CloseHandle(held);
        PostMessageA(box, WM_COMMAND, IDRETRY, 0);
    }
    box = messageBox(dialog, EMPTY_QUESTION);
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(waitGone(dialog));
    StoredSchedule added;
    ASSERT_TRUE(lastRecord(1, added));
    EXPECT_EQ(added.record.type, static_cast<uint32_t>(Monthly));
    EXPECT_EQ(added.record.contentLength, 0u);

    // Cancel after a failure ends the dialog without adding.
    held = CreateFileA(dataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    dialog = open();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, IDC_ADD_CONTENT, "held");
    clickButton(dialog, IDOK);
    box = messageBox(dialog, FAILURE);
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitGone(dialog));
    CloseHandle(held);
    EXPECT_TRUE(lastRecord(1, added));
}

TEST_F(AddSchedule, CalendarSetsTheDatePickerAtMidnightAndTheMonthAndDayLists) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    chooseItem(dialog, IDC_ADD_TYPE, 3);
    clickButton(dialog, IDC_ADD_CALENDAR);
    HWND calendar = waitForDialog(dialog, "カレンダー");
    ASSERT_NE(calendar, nullptr);
    SYSTEMTIME picked = makeSystemTime(2027, 2, 14);
    ASSERT_NE(sendTimeMessage(GetDlgItem(calendar, IDC_CALENDAR_MONTH), MCM_SETCURSEL, 0, picked), 0);
    clickButton(calendar, IDOK);
    ASSERT_TRUE(waitGone(calendar));
    EXPECT_EQ(selectedItem(dialog, IDC_ADD_MONTH), 1);
    EXPECT_EQ(selectedItem(dialog, IDC_ADD_DAY), 13);
    SYSTEMTIME date = {};
    ASSERT_EQ(sendTimeMessage(GetDlgItem(dialog, IDC_ADD_DATE), DTM_GETSYSTEMTIME, 0, date), GDT_VALID);
    EXPECT_EQ(date.wYear, 2027);
    EXPECT_EQ(date.wMonth, 2);
    EXPECT_EQ(date.wDay, 14);
    EXPECT_EQ(date.wHour + date.wMinute + date.wSecond + date.wMilliseconds, 0);

    // A cancelled calendar changes nothing.
    chooseItem(dialog, IDC_ADD_DAY, 2);
    clickButton(dialog, IDC_ADD_CALENDAR);
    calendar = waitForDialog(dialog, "カレンダー");
    ASSERT_NE(calendar, nullptr);
    clickButton(calendar, IDCANCEL);
    ASSERT_TRUE(waitGone(calendar));
    EXPECT_EQ(selectedItem(dialog, IDC_ADD_DAY), 2);
    clickButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitGone(dialog));
    EXPECT_FALSE(folder.exists("Schedules.dat"));
}

TEST_F(AddSchedule, EnterInTheContentStartsANewLine) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    HWND content = GetDlgItem(dialog, IDC_ADD_CONTENT);
    SetDlgItemTextA(dialog, IDC_ADD_CONTENT, "一行目");
    SendMessageA(content, EM_SETSEL, 6, 6);
    PostMessageA(content, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(content, WM_KEYUP, VK_RETURN, 0xC0000001);
    bool (*newLine)(void*) = [](void* edit) {
        char text[64] = {};
        SendMessageA(static_cast<HWND>(edit), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return std::strchr(text, '\n') != nullptr;
    };
    ASSERT_TRUE(waitUntil(5000, newLine, content));
    EXPECT_EQ(itemText(dialog, IDC_ADD_CONTENT), "一行目\r\n");
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(AddScheduleDialog, ScheduleAddedForLaterTodayIsAnnouncedAtItsMinute) {
    writeSettingDword("PosX", 600);
    writeSettingDword("PosY", 20);
    FakeTimeClock fake(folder, "2026-12-08 10:30:40");  // a Tuesday
    ASSERT_TRUE(fake.started());
    owner = fake.hwnd();
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    chooseItem(dialog, IDC_ADD_TYPE, 1);
    chooseItem(dialog, IDC_ADD_WEEKDAY, 2);
    setTime(dialog, IDC_ADD_TIME, timeOfDay(10, 31));
    SetDlgItemTextA(dialog, IDC_ADD_CONTENT, "あとで");
    clickButton(dialog, IDOK);
    ASSERT_TRUE(waitGone(dialog));
    EXPECT_FALSE(trayIconShown(owner, 1));
    EXPECT_TRUE(waitUntil(30000, [](void* w) { return trayIconShown(static_cast<HWND>(w), 1); }, owner));
}

}  // namespace
