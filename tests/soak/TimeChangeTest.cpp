// The running clock's time set forward and back, its date changed and a sleep
// that ends after a due time, as one flow on one clock; what counts is which
// bells ring and what the data file holds after each step.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/ClockTest.h"
#include "e2e/TrayProbe.h"

using namespace harness;

namespace {

// Each record of the data file: its content and the month, day, hour and minute of its stamp, or "-".
std::vector<std::string> recordsOf(const std::string& path) {
    std::vector<std::string> found;
    StoredScheduleList list;
    loadSchedulesBesideClock(path, list);
    for (const StoredSchedule* s : list) {
        const SYSTEMTIME& t = s->record.lastNotified;
        char stamp[32] = "-";
        if (t.wYear) std::snprintf(stamp, sizeof stamp, "%02u/%02u %02u:%02u", t.wMonth, t.wDay, t.wHour, t.wMinute);
        found.push_back(std::string(s->content.c_str()) + " " + stamp);
    }
    return found;
}

using TimeChanges = ClockTest;

TEST_F(TimeChanges, EveryDueScheduleRingsOnceWhateverTheClockIsSetTo) {
    writeSettingDword("PosX", 400);
    writeSettingDword("PosY", 300);
    ASSERT_TRUE(writeScheduleFile(folder.file("Schedules.dat"),
                                  {{Weekday, weekday(TUESDAY, 9, 0), "A"},
                                   {SpecificDate, makeSystemTime(2026, 12, 8, 9, 30), "B"},
                                   {Weekday, weekday(TUESDAY, 10, 0), "C"},
                                   {Weekday, weekday(TUESDAY, 11, 0), "D"},
                                   {SpecificDate, makeSystemTime(2026, 12, 8, 12, 0), "E"},
                                   {Weekday, weekday(MONDAY, 23, 55), "F"},
                                   {Weekday, weekday(WEDNESDAY, 9, 0), "G"},
                                   {Weekday, weekday(WEDNESDAY, 10, 0), "H"}}));
    FakeTimeClock clock(folder, "2026-12-08 08:00:00");
    ASSERT_TRUE(clock.started());
    const struct {
        const char* step;
        const char* time;
        UINT message;  // sent once the time is set: WM_TIMECHANGE, or a resume after a suspend
        UINT bells;    // icons shown afterwards
        std::vector<std::string> records;
    } rows[] = {
        {"forward across three due times", "2026-12-08 10:30:20", WM_TIMECHANGE, 3,
         {"A 12/08 10:30", "C 12/08 10:30", "D -", "E -", "F -", "G -", "H -"}},
        {"back within the day", "2026-12-08 09:15:30", WM_TIMECHANGE, 3,
         {"A 12/08 10:30", "C 12/08 10:30", "D -", "E -", "F -", "G -", "H -"}},
        // The stamps of Tuesday are in the future now: the next rewrite clears them.
        {"back to the day before", "2026-12-07 23:54:40", WM_TIMECHANGE, 3,
         {"A 12/08 10:30", "C 12/08 10:30", "D -", "E -", "F -", "G -", "H -"}},
        {"forward a minute", "2026-12-07 23:55:50", WM_TIMECHANGE, 4,
         {"A -", "C -", "D -", "E -", "F 12/07 23:55", "G -", "H -"}},
        // Tuesday's one-time schedule of 12:00 was never announced: reported as missed.
        {"to the next day but one", "2026-12-09 09:05:20", WM_TIMECHANGE, 6,
         {"A -", "C -", "D -", "F 12/07 23:55", "G 12/09 09:05", "H -"}},
        {"asleep past a due time", "2026-12-09 10:20:30", PBT_APMRESUMEAUTOMATIC, 7,
         {"A -", "C -", "D -", "F 12/07 23:55", "G 12/09 09:05", "H 12/09 10:20"}},
    };
    // A tick that reads the second the clock shows does nothing, even across a
    // jump of whole minutes, so each step lands on another second than the last.
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        DWORD_PTR ignored;
        if (row.message != WM_TIMECHANGE) {
            SendMessageTimeoutA(clock.hwnd(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        }
        clock.moveTo(row.time);
        if (row.message == WM_TIMECHANGE) {
            SendMessageTimeoutA(clock.hwnd(), WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        } else {
            SendMessageTimeoutA(clock.hwnd(), WM_POWERBROADCAST, row.message, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
            // No message tells of the new time: the next tick finds it.
            Sleep(1500);
        }
        EXPECT_EQ(trayIconsShown(clock.hwnd(), 10), row.bells);
        EXPECT_EQ(recordsOf(folder.file("Schedules.dat")), row.records);
        // Nothing more rings on the ticks that follow.
        Sleep(2000);
        EXPECT_EQ(trayIconsShown(clock.hwnd(), 10), row.bells);
    }
}

}  // namespace
