// The real clock left running over hours of its own time, run fast, with
// schedules of every type due across them and its dialogs opened and closed all
// the while: every occurrence rings exactly once, the data file ends as the
// announcements leave it, and what the process holds stays flat. QUILLET_SOAK=full
// (scripts/soak.sh) runs a day and more; the test command runs a short night.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/ClockTest.h"
#include "e2e/TrayProbe.h"
#include "res/resource.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_SNAP_TO_EDGES = 0x2, FLAG_SHOW_SECONDS = 0x40000;
// With seconds shown the clock ticks every 250 ms, so at 120 times real time a
// tick moves its time on by 30 s: every minute is seen by two ticks, and one may
// come up to 250 ms late (under load) before a minute goes by unseen. With
// seconds hidden a tick would move it by two minutes.
constexpr int RATE = 120;
constexpr ULONGLONG LATE_MINUTES = 10;  // a ring's stamp may lag its due time this much

struct SoakSize {
    const char* name;
    SYSTEMTIME start;
    ULONGLONG minutes;  // of the clock's time
    int schedules;      // due across that time
    int openings;       // of each dialog, at least
};
const SoakSize SIZES[] = {
    {"short", makeSystemTime(2026, 12, 31, 22, 50), 140, 60, 5},
    {"full", makeSystemTime(2026, 12, 31, 11, 50), 26 * 60, 300, 50},
};

ULONGLONG minuteOf(const SYSTEMTIME& t) {
    FILETIME f = {};
    return SystemTimeToFileTime(&t, &f) ? fileTimeValue(f) / FILETIME_MINUTE : 0;
}

SYSTEMTIME atMinute(ULONGLONG minute) {
    const FILETIME f = fileTimeFromValue(minute * FILETIME_MINUTE);
    SYSTEMTIME t = {};
    FileTimeToSystemTime(&f, &t);
    return t;
}

// A schedule of the soak and what must become of it.
struct Planned {
    enum Outcome { Rings, Missed, Untouched } outcome;
    std::string content;
    ScheduleEntry entry;
    ULONGLONG due = 0, latest = 0;  // the minutes between which it rings and is stamped
};

std::vector<Planned> plan(const SoakSize& size) {
    std::vector<Planned> planned;
    auto add = [&](Planned::Outcome outcome, uint32_t type, SYSTEMTIME when, ULONGLONG due = 0) {
        planned.push_back({outcome, "soak " + std::to_string(planned.size()), {type, when, nullptr}, due,
                           due + LATE_MINUTES});
        return &planned.back();
    };
    const ULONGLONG start = minuteOf(size.start), first = start + 15, last = start + size.minutes - 30;
    for (int i = 0; i < size.schedules; ++i) {
        ULONGLONG due = first + (last - first) * i / (size.schedules - 1);
        // A minute that no tick sees (a tick late by 250 ms, 30 s of clock time)
        // only delays a ring, except in the last minutes of a day: they go with
        // the day, as for a computer asleep across midnight. None is due there.
        if ((due + 5) % (24 * 60) < 5) due -= 5;
        SYSTEMTIME d = atMinute(due);
        const uint16_t days = daysInMonthOf(d);
        switch (i % 4) {
        case 0:
            add(Planned::Rings, SpecificDate, {d.wYear, d.wMonth, d.wDayOfWeek, d.wDay, d.wHour, d.wMinute, 0, 0}, due);
            break;
        case 1: {
            Planned* p = add(Planned::Rings, Weekday, weekday(d.wDayOfWeek, d.wHour, d.wMinute), due);
            p->entry.weekOfMonth = i % 8 == 1 ? 0 : d.wDay > days - 7 ? 5 : (d.wDay - 1) / 7 + 1;
            break;
        }
        case 2:
            add(Planned::Rings, Monthly, {0, 0, 0, WORD(d.wDay == days ? 31 : d.wDay), d.wHour, d.wMinute, 0, 0}, due);
            break;
        default:
            add(Planned::Rings, Yearly, {0, d.wMonth, 0, d.wDay, d.wHour, d.wMinute, 0, 0}, due);
        }
    }
    // Two in the same minute: a twin of the first weekly one.
    Planned twin = planned[1];
    twin.entry.duplicateIndex = 1;
    twin.content += " twin";
    planned.push_back(twin);
    // At midnight, where the date changes.
    const SYSTEMTIME midnight = atMinute((start + 24 * 60) / (24 * 60) * (24 * 60));
    add(Planned::Rings, SpecificDate, midnight, minuteOf(midnight))->entry.duplicateIndex = 5;
    add(Planned::Rings, Yearly, {0, midnight.wMonth, 0, midnight.wDay, 0, 0, 0, 0}, minuteOf(midnight))
        ->entry.duplicateIndex = 5;
    // One-time schedules of days gone by, reported as missed at the start.
    for (const SYSTEMTIME& gone : {makeSystemTime(2026, 12, 30, 18, 0), makeSystemTime(2025, 1, 1)}) {
        add(Planned::Missed, SpecificDate, gone);
    }
    // Earlier on the first day: one rang already and stays quiet, one rings at the start.
    const SYSTEMTIME earlier = atMinute(start - 120), late = atMinute(start - 60);
    add(Planned::Untouched, Weekday, weekday(earlier.wDayOfWeek, earlier.wHour, earlier.wMinute))
        ->entry.lastNotified = earlier;
    add(Planned::Rings, Weekday, weekday(late.wDayOfWeek, late.wHour, late.wMinute), start - 60)->latest =
        start + 2 * LATE_MINUTES;
    // Ones that do not occur in the soak.
    add(Planned::Untouched, SpecificDate, makeSystemTime(2027, 2, 1, 9, 0));
    add(Planned::Untouched, Weekday, weekday(6, 12, 0));
    add(Planned::Untouched, Monthly, {0, 0, 0, 15, 9, 0, 0, 0});
    add(Planned::Untouched, Yearly, {0, 7, 0, 7, 7, 0, 0, 0});
    add(Planned::Untouched, Weekday, weekday(atMinute(start).wDayOfWeek, 23, 58))->entry.weekOfMonth = 2;
    for (Planned& p : planned) p.entry.content = p.content.c_str();
    return planned;
}

// Opens one of the clock's dialogs as its menu, or a double click on the first bell, would, and closes it.
bool openAndClose(HWND clock, int kind) {
    static const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* caption;
        int close;
    } dialogs[] = {
        {WM_COMMAND, CMD_ADD_SCHEDULE, 0, "予定の追加", IDCANCEL},
        {WM_USER + 121, 1, WM_LBUTTONDBLCLK, "予定の詳細", IDOK},
        {WM_COMMAND, CMD_SCHEDULE_MANAGER, 0, "クイレット - 予定マネージャ", IDOK},
        {WM_COMMAND, CMD_PROPERTIES, 0, "クイレットのプロパティ", IDCANCEL},
    };
    PostMessageA(clock, dialogs[kind].message, dialogs[kind].wParam, dialogs[kind].lParam);
    HWND dialog = waitForDialog(clock, dialogs[kind].caption);
    if (!dialog) return false;
    PostMessageA(dialog, WM_COMMAND, dialogs[kind].close, 0);
    return waitGone(dialog);
}

bool staysInFile(const Planned& p) {
    return p.outcome == Planned::Untouched || (p.outcome == Planned::Rings && p.entry.type != SpecificDate);
}

std::string minuteText(ULONGLONG minute) {
    const SYSTEMTIME t = atMinute(minute);
    char text[32];
    std::snprintf(text, sizeof text, "%u/%u %02u:%02u", t.wMonth, t.wDay, t.wHour, t.wMinute);
    return text;
}

// What is wrong in the data file: records that should be gone, stamps out of
// time or changed, records missing. Also the longest delay of a ring from its
// due time, in minutes of clock time.
std::vector<std::string> wrongInFile(const std::string& path, const std::vector<Planned>& planned,
                                     ULONGLONG& longestDelay) {
    std::vector<std::string> wrong;
    std::vector<bool> seen(planned.size());
    StoredScheduleList list;
    loadSchedulesBesideClock(path, list);
    for (const StoredSchedule* s : list) {
        size_t k = 0;
        while (k < planned.size() && planned[k].content != s->content.c_str()) ++k;
        if (k == planned.size() || !staysInFile(planned[k]) || seen[k]) {
            wrong.push_back(std::string(s->content.c_str()) + " left in the file");
            continue;
        }
        seen[k] = true;
        const Planned& p = planned[k];
        const ULONGLONG stamp = minuteOf(s->record.lastNotified);
        if (p.outcome == Planned::Rings && (stamp < p.due || stamp > p.latest)) {
            wrong.push_back(p.content + " due " + minuteText(p.due) + ", stamped " + minuteText(stamp));
        } else if (p.outcome == Planned::Untouched &&
                   std::memcmp(&s->record.lastNotified, &p.entry.lastNotified, sizeof(SYSTEMTIME)) != 0) {
            wrong.push_back(p.content + " stamped " + minuteText(stamp));
        } else if (p.outcome == Planned::Rings && p.latest == p.due + LATE_MINUTES && stamp - p.due > longestDelay) {
            longestDelay = stamp - p.due;
        }
    }
    for (size_t k = 0; k < planned.size(); ++k) {
        if (staysInFile(planned[k]) && !seen[k]) wrong.push_back(planned[k].content + " missing");
    }
    return wrong;
}

using Soak = ClockTest;

TEST_F(Soak, EveryScheduleRingsOnceAndWhatTheClockHoldsStaysFlat) {
    const char* variant = std::getenv("QUILLET_SOAK");
    const SoakSize& size = SIZES[variant && std::strcmp(variant, "full") == 0 ? 1 : 0];
    const std::vector<Planned> planned = plan(size);
    std::vector<ScheduleEntry> entries;
    UINT bells = 0;
    ULONGLONG lastDue = 0;
    for (const Planned& p : planned) {
        entries.push_back(p.entry);
        bells += p.outcome != Planned::Untouched;
        if (p.outcome == Planned::Rings && p.due > lastDue) lastDue = p.due;
    }
    ASSERT_TRUE(writeScheduleFile(folder.file("Schedules.dat"), entries));
    writeSettingDword("Flags", FLAG_SNAP_TO_EDGES | FLAG_SHOW_SECONDS);
    writeSettingDword("PosX", 400);
    writeSettingDword("PosY", 300);

    char start[32];
    std::snprintf(start, sizeof start, "%04u-%02u-%02u %02u:%02u:00", size.start.wYear, size.start.wMonth,
                  size.start.wDay, size.start.wHour, size.start.wMinute);
    std::printf("soak %s: %u schedules, %u rings due, %llu minutes of clock time from %s at %d times real time\n",
                size.name, static_cast<unsigned>(planned.size()), bells, size.minutes, start, RATE);
    FakeTimeClock clock(folder, start, RATE);
    ASSERT_TRUE(clock.started());
    DWORD_PTR ignored;
    SendMessageTimeoutA(clock.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
    const ProcessResources atStart = resourcesOf(clock.processHandle());
    std::printf("at the start:         %s\n", describe(atStart).c_str());
    ASSERT_GT(atStart.gdiHandles, 0u) << "the GDI handle table could not be read";
    ASSERT_GT(atStart.kernelHandles, 0u) << "the system's handle list could not be read";
    ASSERT_GT(atStart.privateBytes, 0u) << "the memory regions could not be read";

    ProcessResources firstHour;
    bool firstHourTaken = false;
    int openings[4] = {}, sheetsBeforeFirstHour = 0;
    const ULONGLONG realStart = GetTickCount64();
    for (int kind = 0; clock.clockSecondsSinceStart() < static_cast<long long>(size.minutes) * 60; kind = (kind + 1) % 4) {
        if (!firstHourTaken && clock.clockSecondsSinceStart() >= 3600) {
            firstHour = resourcesOf(clock.processHandle());
            firstHourTaken = true;
            sheetsBeforeFirstHour = openings[3];
            std::printf("after the first hour: %s\n", describe(firstHour).c_str());
        }
        ASSERT_TRUE(openAndClose(clock.hwnd(), kind)) << "dialog " << kind << " after " << openings[kind];
        ++openings[kind];
    }
    const ProcessResources atEnd = resourcesOf(clock.processHandle());
    std::printf("at the end:           %s\n", describe(atEnd).c_str());
    std::printf("%llu s of real time; opened and closed: add %d, details %d, manager %d, properties %d\n",
                (GetTickCount64() - realStart) / 1000, openings[0], openings[1], openings[2], openings[3]);

    for (int opened : openings) EXPECT_GE(opened, size.openings);
    // Each ring and each missed schedule shows a bell of its own, none is dismissed.
    EXPECT_EQ(trayIconsShown(clock.hwnd(), bells + 10), bells);
    ULONGLONG longestDelay = 0;
    EXPECT_EQ(wrongInFile(folder.file("Schedules.dat"), planned, longestDelay), std::vector<std::string>{});
    std::printf("rings stamped up to %llu minutes of clock time after their due time\n", longestDelay);
    const SYSTEMTIME last = atMinute(lastDue);
    DWORD yearMonth = 0, dayHour = 0;
    EXPECT_TRUE(readSettingDword("LastYM", &yearMonth) && readSettingDword("LastDH", &dayHour));
    EXPECT_EQ(yearMonth, static_cast<DWORD>(last.wYear << 16 | last.wMonth));
    EXPECT_EQ(dayHour, static_cast<DWORD>(last.wDay << 16 | last.wHour));
    // Flat from the first hour to the last: dialogs closed, nothing kept but the
    // bells' own few bytes. Wine's property sheet keeps the icon that it loads for
    // its caption: two bitmaps per opening, which the program cannot free; a
    // few more may belong to a dialog just closed. Wine's cache of device
    // contexts may still grow by some dozens (a context, its region and its
    // surface each) until it is full, at about 190 objects; a leak per paint or per
    // opening of a dialog adds hundreds even in the short run.
    EXPECT_LE(atEnd.gdiBitmaps, firstHour.gdiBitmaps + 2 * (openings[3] - sheetsBeforeFirstHour) + 8);
    EXPECT_LE(atEnd.gdiHandles - atEnd.gdiBitmaps, firstHour.gdiHandles - firstHour.gdiBitmaps + 64);
    EXPECT_LE(atEnd.kernelHandles, firstHour.kernelHandles + 4);
    EXPECT_LE(atEnd.windows, firstHour.windows);
    EXPECT_LE(atEnd.privateBytes, firstHour.privateBytes + 512 * 1024);
    // The clock leaves with every bell still shown; Wine's tray takes its time
    // over each removal, so the next test waits for a clean desktop.
    const ULONGLONG exitStart = GetTickCount64();
    PostMessageA(clock.hwnd(), WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(WaitForSingleObject(clock.processHandle(), 120000), WAIT_OBJECT_0);
    std::printf("the clock ended %llu s after the Exit command\n", (GetTickCount64() - exitStart) / 1000);
}

}  // namespace
