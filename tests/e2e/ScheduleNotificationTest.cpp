// The running clock announcing schedules from a data file written beside it,
// with its wall clock shifted to a chosen moment. Icons are observed in Wine's system tray:
// their ids by asking the shell, their pictures by the colours on the screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "AskedCount.h"
#include "e2e/ClockTest.h"
#include "e2e/TrayProbe.h"
#include "res/resource.h"
#include "schedule/ScheduleFile.h"

using namespace harness;

namespace {

bool sameMinute(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute;
}

class ScheduleNotification : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        // Keep the face away from the tray in the top-left corner.
        writeSettingDword("PosX", 400);
        writeSettingDword("PosY", 300);
    }

    std::string dataPath() const { return folder.file("Schedules.dat"); }

    void writeSchedules(const std::vector<ScheduleEntry>& entries) const {
        ASSERT_TRUE(writeScheduleFile(dataPath(), entries));
    }

    // The records of a data file in order: content and whether it was stamped at `stamp`.
    std::vector<std::string> records(const std::string& path, const SYSTEMTIME* stamp = nullptr) const {
        std::vector<std::string> found;
        StoredScheduleList list;
        loadSchedulesBesideClock(path, list);
        for (const StoredSchedule* s : list) {
            const bool stamped = stamp && sameMinute(s->record.lastNotified, *stamp);
            found.push_back(std::string(s->content.c_str()) + (stamped ? " (stamped)" : ""));
        }
        return found;
    }

    static constexpr DWORD ANY_CHECK = 0xFFFFFFFF;
    // Waits until the clock has written its last check (that of `dayHour`, day << 16
    // | hour, when given), which it does after the rewrites of a minute's
    // announcements. Wine will not let a rewrite replace a data file that another
    // process has open, whatever its sharing, so a test that reads the file during
    // a minute's rewrites can make one of them fail.
    static bool waitForLastCheck(DWORD dayHour = ANY_CHECK) {
        return waitUntil(
            10000,
            [](void* wanted) {
                const DWORD expected = *static_cast<const DWORD*>(wanted);
                DWORD value = 0;
                return readSettingDword("LastDH", &value) && (expected == ANY_CHECK || value == expected);
            },
            &dayHour);
    }

    // The records of the data file once they match `expected`, or as they are
    // after five seconds: the clock shows an icon before it rewrites the file.
    std::vector<std::string> settledRecords(const SYSTEMTIME* stamp, const std::vector<std::string>& expected) const {
        std::vector<std::string> found;
        for (int i = 0; i < 100; ++i) {
            found = records(dataPath(), stamp);
            if (found == expected) break;
            Sleep(50);
        }
        return found;
    }
};

// Waits until the clock has finished starting (its first due check included):
// its window shows before that check, and calls made while showing it may
// already answer sent messages, so it is asked twice, some time apart.
void waitIdle(const FakeTimeClock& clock) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(clock.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
    Sleep(500);
    SendMessageTimeoutA(clock.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
}

bool twoIcons(void* clock) {
    HWND window = static_cast<FakeTimeClock*>(clock)->hwnd();
    return trayIconShown(window, 1) && trayIconShown(window, 2);
}

bool threeIcons(void* clock) {
    return twoIcons(clock) && trayIconShown(static_cast<FakeTimeClock*>(clock)->hwnd(), 3);
}

bool balloonShows(void* text) {
    return balloonText() == *static_cast<std::string*>(text);
}

// The distinct bell colours of the first tray icon over `durationMs`, in order.
std::vector<std::string> watchBell(DWORD durationMs) {
    std::vector<std::string> seen;
    const ULONGLONG end = GetTickCount64() + durationMs;
    while (GetTickCount64() < end) {
        std::vector<HWND> icons = trayIconWindows();
        // An icon window not painted yet shows no bell.
        const BellColour bell = icons.empty() ? BellColour::None : bellColourOf(icons[0]);
        if (bell != BellColour::None && (seen.empty() || seen.back() != bellColourName(bell))) {
            seen.push_back(bellColourName(bell));
        }
        Sleep(50);
    }
    return seen;
}

TEST_F(ScheduleNotification, ScheduleDueEarlierTodayIsAnnouncedAtStartAndOnlyOnce) {
    const std::string content = "チームの朝会";
    writeSchedules({{Weekday, weekday(TUESDAY, 9, 0), content.c_str(), 0}});
    const SYSTEMTIME start = makeSystemTime(2026, 12, 8, 10, 30);
    {
        FakeTimeClock clock(folder, "2026-12-08 10:30:00");
        ASSERT_TRUE(clock.started());
        waitIdle(clock);
        EXPECT_TRUE(trayIconShown(clock.hwnd(), 1));
        EXPECT_FALSE(trayIconShown(clock.hwnd(), 2));
        std::string expected = content;
        EXPECT_TRUE(waitUntil(5000, balloonShows, &expected)) << "balloon: " << balloonText();
        const std::vector<std::string> stamped{content + " (stamped)"};
        EXPECT_EQ(settledRecords(&start, stamped), stamped);
        EXPECT_TRUE(waitForLastCheck());
        DWORD yearMonth = 0;
        DWORD dayHour = 0;
        EXPECT_TRUE(readSettingDword("LastYM", &yearMonth));
        EXPECT_TRUE(readSettingDword("LastDH", &dayHour));
        EXPECT_EQ(yearMonth, (2026u << 16) | 12u);
        EXPECT_EQ(dayHour, (8u << 16) | 10u);
    }
    {
        FakeTimeClock clock(folder, "2026-12-08 11:00:00");
        ASSERT_TRUE(clock.started());
        waitIdle(clock);
        EXPECT_FALSE(trayIconShown(clock.hwnd(), 1));
        EXPECT_TRUE(trayIconWindows().empty());
    }
}

TEST_F(ScheduleNotification, LateAnnouncementStopsBlinkingThenClimbsOneStagePerPass) {
    writeSchedules({{Weekday, weekday(TUESDAY, 9, 0), "late", 0}});
    FakeTimeClock clock(folder, "2026-12-08 10:30:00");
    ASSERT_TRUE(clock.started());
    // 90 minutes late: upright yellow at the first pass, then magenta, red, red
    // with strokes and olive, one a second; never straight to the end.
    EXPECT_EQ(watchBell(8000), (std::vector<std::string>{"yellow", "magenta", "red", "olive"}));
}

TEST_F(ScheduleNotification, OneTimeScheduleOfYesterdayIsReportedAsMissedAndDropped) {
    writeSchedules({{SpecificDate, makeSystemTime(2026, 12, 7, 15, 0), "歯医者", 0},
                    {Weekday, weekday(WEDNESDAY, 9, 0), "other day", 0}});
    FakeTimeClock clock(folder, "2026-12-08 10:30:00");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    EXPECT_TRUE(trayIconShown(clock.hwnd(), 1));
    EXPECT_FALSE(trayIconShown(clock.hwnd(), 2));
    std::string expected = "歯医者";
    EXPECT_TRUE(waitUntil(5000, balloonShows, &expected)) << "balloon: " << balloonText();
    // Missed schedules show the last picture at once and keep it.
    EXPECT_EQ(watchBell(2000), std::vector<std::string>{"olive"});
    EXPECT_EQ(settledRecords(nullptr, {"other day"}), std::vector<std::string>{"other day"});
    EXPECT_EQ(records(dataPath() + ".backup"), (std::vector<std::string>{"歯医者", "other day"}));
}

// A shell that makes its notification area anew has none of the clock's icons and
// tells every window so: each bell comes back under its id, at its stage, with no
// second balloon.
TEST_F(ScheduleNotification, BellsComeBackWhenTheNotificationAreaIsMadeAnew) {
    writeSchedules({{SpecificDate, makeSystemTime(2026, 12, 7, 15, 0), "歯医者", 0}});
    FakeTimeClock clock(folder, "2026-12-08 10:30:00");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    ASSERT_TRUE(trayIconShown(clock.hwnd(), 1));
    ASSERT_TRUE(removeTrayIcon(clock.hwnd(), 1));
    EXPECT_TRUE(balloonText().empty());
    PostMessageA(clock.hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    bool (*back)(void*) = [](void* window) { return trayIconShown(static_cast<HWND>(window), 1); };
    EXPECT_TRUE(waitUntil(5000, back, clock.hwnd()));
    EXPECT_EQ(watchBell(1500), std::vector<std::string>{"olive"});
    EXPECT_EQ(balloonText(), "");
}

// The data file held by another program: without any sharing when the clock
// reads the day's schedules at start, then shared for reading only (so that it
// cannot be replaced) when they fall due. The day is read again at the next
// minute, both schedules are announced, the stamp and the drop are refused and
// the file keeps them as they were; no message is shown and the clock runs on.
TEST_F(ScheduleNotification, ADataFileHeldByAnotherProgramLosesNoScheduleAndShowsNoMessage) {
    if (sizeof(void*) == 4) GTEST_SKIP() << "run by the 64-bit build only, to keep the test command short";
    writeSchedules({{Weekday, weekday(TUESDAY, 10, 31), "weekly"},
                    {SpecificDate, makeSystemTime(2026, 12, 8, 10, 31), "one time"}});
    const std::vector<std::string> before = records(dataPath());
    HANDLE held = CreateFileA(dataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    FakeTimeClock clock(folder, "2026-12-08 10:30:42");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    CloseHandle(held);
    held = CreateFileA(dataPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(waitUntil(40000, twoIcons, &clock));
    EXPECT_EQ(waitForDialog(clock.hwnd(), "", 2000), nullptr) << "no message";
    DWORD_PTR answered = 0;
    EXPECT_NE(SendMessageTimeoutA(clock.hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answered), 0);
    EXPECT_EQ(records(dataPath()), before);
    CloseHandle(held);
}

// The real clock killed at a random moment of the stamping rewrite it makes at
// start, in a data file of three megabytes: every schedule is still there, the due one
// stamped or not. QUILLET_E2E_CRASH_ROUNDS sets the number of kills (10 here; the
// fault script runs three hundred).
TEST_F(ScheduleNotification, TheClockKilledWhileItStampsLosesNoSchedule) {
    if (sizeof(void*) == 4) GTEST_SKIP() << "run by the 64-bit build only, to keep the test command short";
    const int rounds = askedCount("QUILLET_E2E_CRASH_ROUNDS", 10);
    const std::string filler(3000, 'x');
    std::vector<ScheduleEntry> entries{{Weekday, weekday(TUESDAY, 9, 0), "due"}};
    for (WORD minute = 0; minute < 1000; ++minute)
        entries.push_back({Weekday, weekday(WEDNESDAY, 9, minute % 60), filler.c_str(), minute / 60u});
    const SYSTEMTIME start = makeSystemTime(2026, 12, 8, 10, 30);
    std::mt19937 random(std::random_device{}());
    int killedWhileWriting = 0;
    int stamped = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        writeSchedules(entries);
        DeleteFileA((dataPath() + ".new").c_str());
        FakeTimeClock clock(folder, "2026-12-08 10:30:00");
        ASSERT_TRUE(clock.started());
        Sleep(random() % 100);
        DWORD owner = 0;
        GetWindowThreadProcessId(clock.hwnd(), &owner);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner);
        ASSERT_NE(process, nullptr);
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
        killedWhileWriting += GetFileAttributesA((dataPath() + ".new").c_str()) != INVALID_FILE_ATTRIBUTES;
        StoredScheduleList list;
        ASSERT_TRUE(loadAllSchedules(dataPath().c_str(), list)) << "whole and undamaged";
        ASSERT_EQ(list.size(), entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            ASSERT_STREQ(list.at(static_cast<uint32_t>(i))->content.c_str(), entries[i].content) << i;
        }
        const SYSTEMTIME& stamp = list.at(0)->record.lastNotified;
        const bool isStamped = sameMinute(stamp, start);
        EXPECT_TRUE(isStamped || stamp.wYear == 0);
        stamped += isStamped;
    }
    std::printf("%d kills, %d while a new version was being written, %d after the stamp\n", rounds,
                killedWhileWriting, stamped);
    // The icons of the killed clocks go with their windows.
    EXPECT_TRUE(waitUntil(10000, [](void*) { return trayIconWindows().empty(); }, nullptr));
}

TEST_F(ScheduleNotification, TwoSchedulesDueInTheSameMinuteGetTwoIconsAndTwoRewrites) {
    writeSchedules({{Weekday, weekday(TUESDAY, 10, 31), "first", 0},
                    {Weekday, weekday(TUESDAY, 10, 31), "second", 1},
                    {Weekday, weekday(TUESDAY, 10, 32), "later", 0}});
    FakeTimeClock clock(folder, "2026-12-08 10:30:40");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    EXPECT_FALSE(trayIconShown(clock.hwnd(), 1));
    EXPECT_TRUE(waitUntil(30000, twoIcons, &clock));
    EXPECT_FALSE(trayIconShown(clock.hwnd(), 3));
    const SYSTEMTIME due = makeSystemTime(2026, 12, 8, 10, 31);
    const std::vector<std::string> bothStamped{"first (stamped)", "second (stamped)", "later"};
    EXPECT_TRUE(waitForLastCheck());
    EXPECT_EQ(settledRecords(&due, bothStamped), bothStamped);
    // The backup holds the file as the second rewrite found it: one stamp made already.
    const std::vector<std::string> before = records(dataPath() + ".backup", &due);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_NE(before[0].find("(stamped)") == std::string::npos, before[1].find("(stamped)") == std::string::npos);
}

TEST_F(ScheduleNotification, DateChangeAtMidnightRebuildsTheDaysList) {
    writeSchedules({{Weekday, weekday(WEDNESDAY, 0, 0), "wednesday", 0},
                    {SpecificDate, makeSystemTime(2026, 12, 9, 0, 0), "one time", 0},
                    {Weekday, weekday(TUESDAY, 0, 0), "tuesday", 0}});
    const SYSTEMTIME tuesday = makeSystemTime(2026, 12, 8, 23, 59);
    FakeTimeClock clock(folder, "2026-12-08 23:59:40");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    // Before midnight only Tuesday's schedule is announced.
    EXPECT_TRUE(trayIconShown(clock.hwnd(), 1));
    EXPECT_FALSE(trayIconShown(clock.hwnd(), 2));
    const std::vector<std::string> tuesdayStamped{"wednesday", "one time", "tuesday (stamped)"};
    EXPECT_EQ(settledRecords(&tuesday, tuesdayStamped), tuesdayStamped);
    // After midnight Wednesday's two join it.
    EXPECT_TRUE(waitUntil(30000, threeIcons, &clock));
    EXPECT_TRUE(waitForLastCheck(9u << 16));
    const SYSTEMTIME wednesday = makeSystemTime(2026, 12, 9, 0, 0);
    const std::vector<std::string> wednesdayStamped{"wednesday (stamped)", "tuesday"};
    EXPECT_EQ(settledRecords(&wednesday, wednesdayStamped), wednesdayStamped);
}

TEST_F(ScheduleNotification, BellsOpenTheirDetailsAndAreDismissedOneByOne) {
    SYSTEMTIME monday = makeSystemTime(2026, 12, 7, 15, 0);
    monday.wDayOfWeek = 1;
    writeSchedules({{SpecificDate, monday, "歯医者", 0},
                    {Weekday, weekday(TUESDAY, 10, 0), "朝", 0},
                    {Weekday, weekday(TUESDAY, 10, 35), "", 0},
                    {Weekday, weekday(TUESDAY, 10, 30), "  会議\t 資料\r\n二行目", 0}});
    FakeTimeClock clock(folder, "2026-12-08 10:37:00");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    // The missed one is reported first (id 1, no age shown); today's follow, the
    // later-listed first. The one of 10:00 is olive by now, and shows no age either.
    bool (*fourIcons)(void*) = [](void* c) {
        return threeIcons(c) && trayIconShown(static_cast<FakeTimeClock*>(c)->hwnd(), 4);
    };
    ASSERT_TRUE(waitUntil(5000, fourIcons, &clock));
    bool (*twoOlive)(void*) = [](void*) {
        int olive = 0;
        for (HWND icon : trayIconWindows()) olive += bellColourOf(icon) == BellColour::Olive;
        return olive == 2;
    };
    ASSERT_TRUE(waitUntil(10000, twoOlive, nullptr));
    std::vector<unsigned char> before, after;
    ASSERT_EQ(settledRecords(nullptr, {"朝", "", "  会議\t 資料\r\n二行目"}).size(), 3u);
    ASSERT_TRUE(folder.readFile("Schedules.dat", &before));
    const struct {
        UINT id;
        LPARAM mouse;  // a double click, or a right click and a key in the tray menu
        char menuKey;
        int button;    // the detail dialog's button, VK_ESCAPE, or 0 when nothing opens
        const char* caption;
        const char* nameLine;
        const char* dateLine;
        const char* iconsAfter;
    } rows[] = {
        {2, WM_LBUTTONDBLCLK, 0, VK_ESCAPE, "予定の詳細 - 会議 資料 毎週 火曜日 午前 10:30", "会議 資料",
         "毎週 火曜日 午前 10:30  ( 7分経過 )", "1234"},
        {3, WM_LBUTTONDBLCLK, 0, IDOK, "予定の詳細 - 毎週 火曜日 午前 10:35", "(タイトル未設定)",
         "毎週 火曜日 午前 10:35  ( 2分経過 )", "1234"},
        {2, WM_LBUTTONUP, 0, 0, "", "", "", "1234"},
        {9, WM_LBUTTONDBLCLK, 0, 0, "", "", "", "1234"},
        {4, WM_LBUTTONDBLCLK, 0, IDOK, "予定の詳細 - 朝 毎週 火曜日 午前 10:00", "朝", "毎週 火曜日 午前 10:00", "1234"},
        {1, WM_RBUTTONUP, 'R', IDC_DETAIL_DELETE, "予定の詳細 - 歯医者 2026年12月7日 (月) 午後 3:00", "歯医者",
         "2026年12月7日 (月) 午後 3:00", "234"},
        {3, WM_RBUTTONUP, 'D', 0, "", "", "", "24"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.id) + " " + row.caption);
        PostMessageA(clock.hwnd(), WM_USER + 121, row.id, row.mouse);
        if (row.menuKey) PostMessageA(waitForMenu(), WM_CHAR, row.menuKey, 0);
        HWND dialog = waitForDialog(clock.hwnd(), "予定の詳細", row.button ? 10000 : 1000);
        ASSERT_EQ(dialog != nullptr, row.button != 0);
        if (dialog) {
            EXPECT_EQ(textOf(dialog), row.caption);
            EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_DETAIL_NAME)), row.nameLine);
            EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_DETAIL_DATE)), row.dateLine);
            EXPECT_EQ(textOf(GetDlgItem(dialog, IDC_DETAIL_DELETE)), "消去(&R)");
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_DETAIL_CHANGE)));
            if (row.button == VK_ESCAPE) {
                PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
            } else {
                clickButton(dialog, row.button);
            }
            EXPECT_TRUE(waitGone(dialog));
        }
        std::string icons;
        for (char id = '1'; id <= '4'; ++id) {
            if (trayIconShown(clock.hwnd(), id - '0')) icons += id;
        }
        EXPECT_EQ(icons, row.iconsAfter);
    }
    // Dismissing leaves the data file alone.
    ASSERT_TRUE(folder.readFile("Schedules.dat", &after));
    EXPECT_EQ(before, after);
}

// A bell dismissed while its details are open frees its icon id for the next
// bell; 消去 in those older details must then leave the newer bell alone.
TEST_F(ScheduleNotification, DismissInDetailsOfABellAlreadyGoneLeavesTheBellThatTookItsIcon) {
    writeSchedules({{SpecificDate, makeSystemTime(2026, 12, 8, 10, 29), "A", 0},
                    {SpecificDate, makeSystemTime(2026, 12, 8, 10, 31), "B", 0}});
    FakeTimeClock clock(folder, "2026-12-08 10:30:15");
    ASSERT_TRUE(clock.started());
    waitIdle(clock);
    bool (*iconOneShown)(void*) = [](void* c) { return trayIconShown(static_cast<FakeTimeClock*>(c)->hwnd(), 1); };
    bool (*iconOneGone)(void*) = [](void* c) { return !trayIconShown(static_cast<FakeTimeClock*>(c)->hwnd(), 1); };
    ASSERT_TRUE(waitUntil(5000, iconOneShown, &clock));
    PostMessageA(clock.hwnd(), WM_USER + 121, 1, WM_LBUTTONDBLCLK);
    HWND older = waitForDialog(clock.hwnd(), "予定の詳細 - A ");
    ASSERT_NE(older, nullptr);
    PostMessageA(clock.hwnd(), WM_USER + 121, 1, WM_RBUTTONUP);
    PostMessageA(waitForMenu(), WM_CHAR, 'D', 0);
    ASSERT_TRUE(waitUntil(5000, iconOneGone, &clock));
    // B rings at 10:31 and takes the freed id 1.
    ASSERT_TRUE(waitUntil(60000, iconOneShown, &clock));
    clickButton(older, IDC_DETAIL_DELETE);
    EXPECT_TRUE(waitGone(older));
    PostMessageA(clock.hwnd(), WM_USER + 121, 1, WM_LBUTTONDBLCLK);
    HWND newer = waitForDialog(clock.hwnd(), "予定の詳細 - B ");
    ASSERT_NE(newer, nullptr);
    clickButton(newer, IDOK);
    EXPECT_TRUE(waitGone(newer));
}

}  // namespace
