#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ShellNotifyRecorder.h"
#include "app/ClockWindow.h"
#include "schedule/IconStage.h"

namespace {

const char DUE_TITLE_0900[] = "午前 9:00 予定の通知";

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME t = makeSystemTime(year, month, day, hour, minute);
    // The day of the week as the clock reads it.
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    FileTimeToSystemTime(&ft, &t);
    return t;
}

ULONGLONG fileTimeOf(const SYSTEMTIME& t) {
    FILETIME ft;
    SystemTimeToFileTime(&t, &ft);
    return fileTimeValue(ft);
}

// Tuesday 8 December 2026, 10:30.
const SYSTEMTIME TODAY_1030 = at(2026, 12, 8, 10, 30);

struct Entry {
    uint32_t type;
    SYSTEMTIME when;
    uint32_t weekOfMonth;
    std::string content;
    SYSTEMTIME lastNotified;
};

Entry weekly(WORD hour, WORD minute, const char* content) {
    SYSTEMTIME when{};
    when.wDayOfWeek = TODAY_1030.wDayOfWeek;
    when.wHour = hour;
    when.wMinute = minute;
    return {Weekday, when, 0, content, {}};
}

SYSTEMTIME dayOfMonth(WORD day) {
    SYSTEMTIME when{};
    when.wDay = day;
    when.wHour = 7;
    return when;
}

Entry once(const SYSTEMTIME& date, const char* content) { return {SpecificDate, date, 0, content, {}}; }

// The clock window object, not its window: the lists, the watch and the data
// file in a folder of its own, with the shell replaced by a recorder.
class ScheduleWatch : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "quillet-watch-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "\\Schedules.dat";
        clock.scheduleFilePath = new char[path.size() + 1];
        std::memcpy(clock.scheduleFilePath, path.c_str(), path.size() + 1);
        for (int i = 0; i < 7; ++i) clock.notifyIcons[i] = icon(i);
        clock.now = TODAY_1030;
    }
    void TearDown() override {
        clock.clearPending();
        clock.clearNotified();
        for (HICON& i : clock.notifyIcons) i = nullptr;  // stand-ins, not to be destroyed
        DeleteFileA(path.c_str());
        DeleteFileA((path + ".backup").c_str());
        RemoveDirectoryA(folder.c_str());
    }

    static HICON icon(int stage) { return reinterpret_cast<HICON>(static_cast<INT_PTR>(0x700 + stage)); }

    void writeFile(const std::vector<Entry>& entries) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        for (const Entry& e : entries) {
            ScheduleRecord record =
                makeScheduleRecord(e.type, e.when, e.weekOfMonth, static_cast<uint32_t>(e.content.size()));
            record.lastNotified = e.lastNotified;
            TextBuffer title;
            TextBuffer content;
            content.assign(e.content.c_str());
            ASSERT_TRUE(writeRecord(file, record, title, content));
        }
        std::fclose(file);
    }

    std::vector<std::string> fileContents() {
        std::vector<std::string> texts;
        StoredScheduleList list;
        loadAllSchedules(path.c_str(), list);
        for (const StoredSchedule* s : list) texts.push_back(s->content.c_str());
        return texts;
    }

    std::vector<std::string> contentsOf(const ScheduleList& list) {
        std::vector<std::string> texts;
        for (const Schedule* s = list.head; s; s = s->next) texts.push_back(s->content.c_str());
        return texts;
    }

    Schedule* notifiedWithId(uint32_t id) {
        TextBuffer empty;
        TextBuffer text;
        text.assign(std::to_string(id).c_str());
        Schedule* s = createSchedule(nullptr, ScheduleRecord{}, empty, text);
        s->trayIcon.id = id;
        clock.notifiedSchedules.pushFront(s);
        return s;
    }

    ShellNotifyRecorder shell;
    ClockWindow clock;
    std::string folder;
    std::string path;
};

TEST_F(ScheduleWatch, NextTrayIconIdReusesFreedIdsFromBelow) {
    EXPECT_EQ(clock.nextTrayIconId(), 1u);
    notifiedWithId(2);
    notifiedWithId(3);
    EXPECT_EQ(clock.nextTrayIconId(), 1u);
    clock.clearNotified();
    notifiedWithId(1);
    notifiedWithId(3);
    EXPECT_EQ(clock.nextTrayIconId(), 4u);
    clock.clearNotified();
    notifiedWithId(0);  // an icon that never showed does not count
    notifiedWithId(5);
    EXPECT_EQ(clock.nextTrayIconId(), 4u);
}

TEST_F(ScheduleWatch, RemovalsUnlinkFromTheMiddleAndTheHeadAndRemoveTheIcon) {
    Schedule* one = notifiedWithId(1);
    Schedule* two = notifiedWithId(2);
    Schedule* three = notifiedWithId(3);
    ASSERT_EQ(contentsOf(clock.notifiedSchedules), (std::vector<std::string>{"3", "2", "1"}));

    clock.dismissNotified(2);
    EXPECT_EQ(contentsOf(clock.notifiedSchedules), (std::vector<std::string>{"3", "1"}));
    EXPECT_EQ(three->next, one);
    EXPECT_EQ(one->prev, three);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.calls[0].data.uID, 2u);
    (void)two;

    clock.dismissNotified(9);  // no such icon: nothing happens
    EXPECT_EQ(shell.calls.size(), 1u);

    clock.dismissNotified(3);
    EXPECT_EQ(clock.notifiedSchedules.head, one);
    EXPECT_EQ(one->prev, nullptr);
    EXPECT_EQ(one->next, nullptr);
    clock.dismissNotified(1);
    EXPECT_TRUE(clock.notifiedSchedules.empty());
}

TEST_F(ScheduleWatch, ReloadTakesTodaysUnannouncedOccurrencesInReverseFileOrder) {
    Entry announcedToday = weekly(8, 0, "stamped today");
    announcedToday.lastNotified = at(2026, 12, 8, 8, 0);
    Entry announcedLastWeek = weekly(8, 0, "stamped last week");
    announcedLastWeek.lastNotified = at(2026, 12, 1, 8, 0);
    writeFile({weekly(9, 0, "a"), announcedToday, once(at(2026, 12, 9, 9, 0), "tomorrow"), announcedLastWeek,
               {Monthly, dayOfMonth(31), 0, "last day", {}}, once(at(2026, 12, 8, 12, 0), "today")});
    clock.addPending(makeScheduleRecord(Weekday, weekly(1, 0, "").when, 0, 0), TextBuffer(), TextBuffer());

    EXPECT_TRUE(clock.reloadToday());
    EXPECT_EQ(clock.daysInMonth, 31);
    EXPECT_EQ(contentsOf(clock.pendingSchedules), (std::vector<std::string>{"today", "stamped last week", "a"}));
    EXPECT_EQ(clock.pendingSchedules.head->dueTime, fileTimeOf(at(2026, 12, 8, 12, 0)));
    EXPECT_TRUE(shell.calls.empty());

    // When the days of the month cannot be computed the list stays as it was.
    clock.now.wMonth = 13;
    EXPECT_FALSE(clock.reloadToday());
    EXPECT_EQ(contentsOf(clock.pendingSchedules).size(), 3u);
}

TEST_F(ScheduleWatch, ADayListTheHeldFileWithheldIsMarkedForAnotherReading) {
    writeFile({weekly(9, 0, "due"), once(at(2026, 12, 7, 9, 0), "missed")});
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(clock.reloadToday());
    EXPECT_TRUE(clock.dayListUnread);
    EXPECT_EQ(clock.pendingSchedules.head, nullptr);
    EXPECT_EQ(clock.notifiedSchedules.head, nullptr);
    CloseHandle(held);
    EXPECT_TRUE(clock.reloadToday());
    EXPECT_FALSE(clock.dayListUnread);
    EXPECT_EQ(contentsOf(clock.pendingSchedules), std::vector<std::string>{"due"});
    EXPECT_EQ(contentsOf(clock.notifiedSchedules), std::vector<std::string>{"missed"});
}

TEST_F(ScheduleWatch, DueCheckAnnouncesReachedSchedulesAndRecordsThemInTheFile) {
    writeFile({weekly(9, 0, "weekly"), once(at(2026, 12, 8, 9, 0), "one-time"), weekly(10, 31, "later")});
    ASSERT_TRUE(clock.reloadToday());
    clock.checkDue();

    // Two icons, ids 1 and 2, blinking with the picture of a fresh announcement.
    ASSERT_EQ(shell.calls.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const NOTIFYICONDATAA& data = shell.calls[i].data;
        EXPECT_EQ(shell.calls[i].message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(data.uID, i + 1);
        EXPECT_EQ(data.hIcon, icon(STAGE_SWING_B));
        EXPECT_STREQ(data.szInfoTitle, DUE_TITLE_0900);
    }
    EXPECT_STREQ(shell.calls[0].data.szInfo, "one-time");  // the pending list is in reverse file order
    EXPECT_STREQ(shell.calls[1].data.szTip, "午前 9:00 weekly");
    EXPECT_EQ(contentsOf(clock.notifiedSchedules), (std::vector<std::string>{"weekly", "one-time"}));
    EXPECT_EQ(contentsOf(clock.pendingSchedules), (std::vector<std::string>{"later"}));
    for (const Schedule* s = clock.notifiedSchedules.head; s; s = s->next) {
        EXPECT_EQ(s->state, SCHEDULE_BLINKING | SCHEDULE_BLINK_PHASE);
        EXPECT_EQ(s->iconStage, STAGE_SWING_B);
    }
    EXPECT_EQ(std::memcmp(&clock.lastWatchTime, &TODAY_1030, sizeof(SYSTEMTIME)), 0);

    // The one-time schedule left the file, the weekly one was stamped with now.
    EXPECT_EQ(fileContents(), (std::vector<std::string>{"weekly", "later"}));
    StoredScheduleList list;
    loadAllSchedules(path.c_str(), list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::memcmp(&list.at(0)->record.lastNotified, &TODAY_1030, sizeof(SYSTEMTIME)), 0);
    EXPECT_EQ(list.at(1)->record.lastNotified.wYear, 0);

    // A reload the same day does not take the stamped schedule again.
    ASSERT_TRUE(clock.reloadToday());
    EXPECT_EQ(contentsOf(clock.pendingSchedules), (std::vector<std::string>{"later"}));
}

TEST_F(ScheduleWatch, AnimationBlinksInTheFirstMinuteThenClimbsOneStagePerPass) {
    writeFile({weekly(10, 30, "on time"), weekly(9, 0, "late")});
    ASSERT_TRUE(clock.reloadToday());
    clock.checkDue();
    shell.calls.clear();
    Schedule* onTime = clock.notifiedSchedules.head;
    Schedule* late = onTime->next;
    ASSERT_STREQ(late->content.c_str(), "late");

    // Within the first minute the on-time bell swings between its two pictures.
    const ULONGLONG dueNow = fileTimeOf(TODAY_1030);
    clock.animateNotified(dueNow + 10 * 10000000ULL);
    clock.animateNotified(dueNow + 20 * 10000000ULL);
    std::vector<HICON> onTimePictures;
    std::vector<HICON> latePictures;
    for (const ShellNotifyCall& call : shell.calls) {
        EXPECT_EQ(call.message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(call.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
        (call.data.uID == onTime->trayIcon.id ? onTimePictures : latePictures).push_back(call.data.hIcon);
    }
    EXPECT_EQ(onTimePictures, (std::vector<HICON>{icon(STAGE_SWING_A), icon(STAGE_SWING_B)}));
    EXPECT_EQ(onTime->iconStage, STAGE_SWING_A);
    EXPECT_TRUE(onTime->state & SCHEDULE_BLINKING);
    // The late one (90 minutes) stops blinking at the first pass, then climbs a stage per pass.
    EXPECT_EQ(latePictures, (std::vector<HICON>{icon(STAGE_UPRIGHT), icon(STAGE_MAGENTA)}));
    for (int pass = 0; pass < 5; ++pass) clock.animateNotified(dueNow + 30 * 10000000ULL);
    EXPECT_EQ(late->iconStage, STAGE_OLIVE);
    EXPECT_FALSE(late->state & SCHEDULE_BLINKING);

    // Ending the blinking is retried until the shell takes the picture.
    shell.result = FALSE;
    clock.animateNotified(dueNow + FILETIME_MINUTE);
    EXPECT_EQ(onTime->iconStage, STAGE_UPRIGHT);
    EXPECT_TRUE(onTime->state & SCHEDULE_BLINKING);
    shell.result = TRUE;
    shell.calls.clear();
    clock.animateNotified(dueNow + FILETIME_MINUTE);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].data.hIcon, icon(STAGE_UPRIGHT));
    EXPECT_FALSE(onTime->state & SCHEDULE_BLINKING);
    // A step refused by the shell still counts as reached.
    shell.result = FALSE;
    clock.animateNotified(dueNow + 5 * FILETIME_MINUTE);
    EXPECT_EQ(onTime->iconStage, STAGE_MAGENTA);
}

TEST_F(ScheduleWatch, ANewNotificationAreaGetsEveryBellAgainAtItsStageWithoutABalloon) {
    writeFile({weekly(9, 0, "会議"), once(at(2026, 12, 7, 9, 0), "昨日")});
    ASSERT_TRUE(clock.reloadToday());
    clock.checkDue();
    clock.animateNotified(fileTimeOf(TODAY_1030));
    ASSERT_EQ(contentsOf(clock.notifiedSchedules), (std::vector<std::string>{"会議", "昨日"}));

    // The new area is not ready at first; what it refused is added at a later tick, once.
    shell.result = FALSE;
    clock.onTaskbarCreated();
    shell.result = TRUE;
    shell.calls.clear();
    clock.showMissingBells();
    clock.showMissingBells();
    ASSERT_EQ(shell.calls.size(), 2u);
    const struct {
        UINT id;
        HICON picture;
        const char* tip;
    } expected[] = {{2, icon(STAGE_UPRIGHT), "午前 9:00 会議"}, {1, icon(STAGE_OLIVE), "午前 9:00 昨日"}};
    for (size_t i = 0; i < 2; ++i) {
        const NOTIFYICONDATAA& data = shell.calls[i].data;
        EXPECT_EQ(shell.calls[i].message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(data.uID, expected[i].id);
        EXPECT_EQ(data.hIcon, expected[i].picture);
        EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_STREQ(data.szTip, expected[i].tip);
    }
}

TEST_F(ScheduleWatch, MissedOneTimeSchedulesAreAnnouncedAndDroppedEvenWhenCollectingStops) {
    std::vector<Entry> entries{weekly(9, 0, "recurring, last occurrence never reported")};
    for (int i = 0; i < 150; ++i) {
        entries.push_back(once(at(2026, 12, 7, 9, 0), ("missed " + std::to_string(i)).c_str()));
    }
    entries.push_back(once(at(2026, 12, 8, 9, 0), "today"));
    entries.push_back(once(at(2025, 12, 9, 9, 0), "last year"));
    writeFile(entries);
    clock.daysInMonth = 31;

    // The working array cannot grow past 100: those 100 are announced and
    // dropped, every other one stays in the file, and the pass reports failure.
    ScheduleRecordArray bounded(ScheduleRecordArray::GROWTH);
    EXPECT_FALSE(clock.reportMissed(bounded));
    EXPECT_EQ(shell.calls.size(), 100u);
    EXPECT_STREQ(shell.calls[0].data.szInfo, "missed 0");
    EXPECT_STREQ(shell.calls[0].data.szInfoTitle, "午前 9:00 通知できなかった予定");
    EXPECT_EQ(shell.calls[0].data.hIcon, icon(STAGE_OLIVE));
    EXPECT_EQ(shell.calls[99].data.uID, 100u);
    std::vector<std::string> left = fileContents();
    ASSERT_EQ(left.size(), 53u);
    EXPECT_EQ(left[1], "missed 100");

    ScheduleRecordArray unbounded;
    EXPECT_TRUE(clock.reportMissed(unbounded));
    EXPECT_EQ(shell.calls.size(), 151u);
    EXPECT_STREQ(shell.calls.back().data.szInfo, "last year");
    EXPECT_EQ(fileContents(),
              (std::vector<std::string>{"recurring, last occurrence never reported", "today"}));
    const Schedule* s = clock.notifiedSchedules.head;
    EXPECT_EQ(s->dueTime, 0u);
    EXPECT_EQ(s->iconStage, STAGE_OLIVE);
    EXPECT_EQ(s->state, 0u);
}

TEST_F(ScheduleWatch, AddedScheduleGoesToTheFileAndToTodaysListOnlyWhenItOccursToday) {
    SYSTEMTIME when{};
    when.wDayOfWeek = TODAY_1030.wDayOfWeek;
    when.wHour = 9;
    EXPECT_TRUE(clock.addSchedule(nullptr, Weekday, when, 0, "first"));
    EXPECT_TRUE(clock.addSchedule(nullptr, Weekday, when, 0, "same definition"));
    EXPECT_TRUE(clock.addSchedule(nullptr, SpecificDate, at(2026, 12, 9, 9, 0), 0, "tomorrow"));
    EXPECT_EQ(fileContents(), (std::vector<std::string>{"first", "same definition", "tomorrow"}));
    ASSERT_EQ(contentsOf(clock.pendingSchedules), (std::vector<std::string>{"same definition", "first"}));
    EXPECT_EQ(clock.pendingSchedules.head->record.duplicateIndex, 1u);

    // The manager's delete takes the pending schedule with the same index only.
    ScheduleRecord second = makeScheduleRecord(Weekday, when, 0, 0);
    second.duplicateIndex = 1;
    EXPECT_TRUE(clock.removePending(second));
    EXPECT_FALSE(clock.removePending(second));
    ASSERT_EQ(contentsOf(clock.pendingSchedules), (std::vector<std::string>{"first"}));

    // Past its time already: announced by the next due check, and found in the file by its index.
    clock.checkDue();
    StoredScheduleList list;
    loadAllSchedules(path.c_str(), list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(std::memcmp(&list.at(0)->record.lastNotified, &TODAY_1030, sizeof(SYSTEMTIME)), 0);
    EXPECT_EQ(list.at(1)->record.lastNotified.wYear, 0);
}

TEST_F(ScheduleWatch, DataFileSitsBesideTheProgram) {
    ASSERT_TRUE(clock.resolveScheduleFilePath());
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string expected(program);
    expected = expected.substr(0, expected.find_last_of('\\') + 1) + "Schedules.dat";
    EXPECT_EQ(std::string(clock.scheduleFilePath), expected);
}

}  // namespace
