// Start, second start, the commands from outside and Setup, on the real programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <prsht.h>

#include "AskedCount.h"
#include "app/Commands.h"
#include "e2e/ClockTest.h"
#include "res/resource.h"

using namespace harness;

namespace {

using Lifecycle = ClockTest;

int countClockWindows() {
    int count = 0;
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, CLOCK_CLASS, CLOCK_TITLE)) != nullptr) ++count;
    return count;
}

// The hand-over opens the running clock's property sheet, and the copy that
// handed over ends only when it closes: cancels it once it shows.
bool cancelHandOverSheet() {
    HWND sheet = nullptr;
    for (int i = 0; i < 1000 && !(sheet = FindWindowA("#32770", "クイレットのプロパティ")); ++i) Sleep(20);
    if (sheet) PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    return sheet != nullptr;
}

TEST_F(Lifecycle, ClockWindowHasItsClassTitleAndStyles) {
    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());
    char text[100];
    GetClassNameA(clock.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, CLOCK_CLASS);
    GetWindowTextA(clock.hwnd(), text, sizeof text);
    EXPECT_STREQ(text, CLOCK_TITLE);
    const LONG_PTR style = GetWindowLongPtrA(clock.hwnd(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(clock.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(clock.hwnd()));
}

TEST_F(Lifecycle, ExitCommandEndsTheClockWithCodeZero) {
    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());
    DWORD code = 99;
    ASSERT_TRUE(clock.exit(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(findClock(), nullptr);
}

TEST_F(Lifecycle, SystemCloseEndsTheClockWithCodeZero) {
    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());
    PostMessageA(clock.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 99;
    ASSERT_TRUE(clock.process().waitExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(Lifecycle, MenuOnlyCommandsChangeNothing) {
    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());
    const RECT before = clock.rect();
    for (WPARAM id : {32801, 32802, 32813, 32815}) {
        EXPECT_EQ(clock.command(id), 0);
    }
    // A foreign timer id is passed on, not taken for the clock's tick.
    SendMessageA(clock.hwnd(), WM_TIMER, 77, 0);
    Sleep(200);
    EXPECT_TRUE(clock.process().running());
    EXPECT_EQ(findClock(), clock.hwnd());
    const RECT after = clock.rect();
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(clock.rect().right - clock.rect().left, before.right - before.left);
    DWORD code = 99;
    ASSERT_TRUE(clock.exit(&code));
    EXPECT_EQ(code, 0u);
}

TEST_F(Lifecycle, SecondStartHandsOverAndEndsWithCodeZero) {
    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());

    // The running clock answers the hand-over by opening its property sheet and
    // only then lets the second copy go; watch that it gets command 32799.
    Process second;
    ASSERT_TRUE(second.start(folder.quilletPath()));
    ASSERT_TRUE(cancelHandOverSheet());
    DWORD code = 99;
    ASSERT_TRUE(second.waitExit(10000, &code));
    EXPECT_EQ(code, 0u);

    // Still exactly one clock window, and it is the first one.
    EXPECT_EQ(countClockWindows(), 1);
    EXPECT_EQ(findClock(), clock.hwnd());
    EXPECT_TRUE(clock.process().running());
}

// A double click that lands twice: of two copies started at the same moment one
// becomes the clock, the other hands over to it and ends with 0. Three rounds,
// or as many as QUILLET_TWO_CLOCK_ROUNDS asks (scripts/soak.sh).
TEST_F(Lifecycle, TwoCopiesStartedTogetherMakeOneClock) {
    const int rounds = askedCount("QUILLET_TWO_CLOCK_ROUNDS", 3);
    for (int round = 0; round < rounds; ++round) {
        Process copies[2];
        for (Process& copy : copies) ASSERT_TRUE(copy.startSuspended(folder.quilletPath()));
        for (Process& copy : copies) copy.resume();
        ASSERT_TRUE(cancelHandOverSheet()) << "round " << round;

        int ended = -1;
        DWORD code = 99;
        for (ULONGLONG end = GetTickCount64() + 30000; ended < 0 && GetTickCount64() < end;) {
            for (int i = 0; i < 2 && ended < 0; ++i) {
                if (copies[i].waitExit(25, &code)) ended = i;
            }
        }
        ASSERT_GE(ended, 0) << "round " << round;
        EXPECT_EQ(code, 0u) << "round " << round;
        Process& clock = copies[1 - ended];
        EXPECT_TRUE(clock.running()) << "round " << round;
        EXPECT_EQ(countClockWindows(), 1) << "round " << round;
        DWORD owner = 0;
        GetWindowThreadProcessId(findClock(), &owner);
        EXPECT_EQ(owner, clock.id()) << "round " << round;

        SendMessageA(findClock(), WM_COMMAND, 105, 0);
        ASSERT_TRUE(clock.waitExit(10000)) << "round " << round;
    }
}

// The data file is found beside the program even where the folder's and the
// program's names hold kanji whose second byte is the backslash's (予 97 5C, 表 95 5C).
TEST_F(Lifecycle, KeepsItsDataFileBesideAProgramWithAKanjiName) {
    const std::string kanjiFolder = folder.file("予定表");
    ASSERT_TRUE(CreateDirectoryA(kanjiFolder.c_str(), nullptr));
    const std::string program = kanjiFolder + "\\予定表.exe";
    ASSERT_TRUE(CopyFileA(folder.quilletPath().c_str(), program.c_str(), TRUE));
    // A one-time schedule of a day long gone is reported as missed and leaves the file.
    ASSERT_TRUE(writeScheduleFile(kanjiFolder + "\\Schedules.dat",
                                  {{0, makeSystemTime(2001, 1, 1, 9, 0), "古い予定"}}));

    Process clock;
    ASSERT_TRUE(clock.start(program));
    ASSERT_TRUE(waitUntil(20000, [](void*) { return findClock() != nullptr; }, nullptr));
    SendMessageA(findClock(), WM_COMMAND, 105, 0);
    ASSERT_TRUE(clock.waitExit(10000));

    std::vector<unsigned char> bytes;
    EXPECT_TRUE(folder.readFile("予定表\\Schedules.dat", &bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(folder.exists("予定表\\Schedules.dat.backup"));
    EXPECT_FALSE(folder.exists("予定表\\予定表Schedules.dat"));
    EXPECT_FALSE(folder.exists("予Schedules.dat"));
}

// Runs Setup beside the clock: both must end, with 0.
void expectSetupEndsTheClock(const ProgramFolder& folder, RunningClock& clock) {
    Process setup;
    ASSERT_TRUE(setup.start(folder.setupPath()));
    DWORD clockCode = 99, setupCode = 99;
    ASSERT_TRUE(clock.process().waitExit(10000, &clockCode));
    EXPECT_EQ(clockCode, 0u);
    ASSERT_TRUE(setup.waitExit(10000, &setupCode));
    EXPECT_EQ(setupCode, 0u);
}

TEST_F(Lifecycle, SetupClosesTheRunningClock) {
    RunningClock clock(folder);
    ASSERT_TRUE(clock.started());
    expectSetupEndsTheClock(folder, clock);
}

HWND addDialog(HWND clock) {
    PostMessageA(clock, WM_COMMAND, CMD_ADD_SCHEDULE, 0);
    return waitForDialog(clock, "予定の追加");
}

HWND manager(HWND clock) {
    PostMessageA(clock, WM_COMMAND, CMD_SCHEDULE_MANAGER, 0);
    HWND found = waitForDialog(clock, "クイレット - 予定マネージャ");
    if (found) chooseItem(found, IDC_MANAGER_FILTER, 1);  // すべて
    return found;
}

HWND propertySheet(HWND clock) {
    PostMessageA(clock, WM_COMMAND, CMD_PROPERTIES, 0);
    return waitForDialog(clock, "クイレットのプロパティ");
}

// Opens a loop over `opened` with a button of it (null when `opened` did not open).
HWND openFrom(HWND opened, HWND from, int button, const char* caption) {
    if (!opened) return nullptr;
    clickButton(from, button);
    return waitForDialog(opened, caption);
}

// Setup's command reaches the clock inside whatever modal loop it runs: each is
// opened as a user would, Setup is run, and the clock must end with 0 and leave
// its name free for a new start.
TEST_F(Lifecycle, SetupEndsTheClockInsideEveryModalLoop) {
    const struct {
        const char* loop;
        HWND (*open)(HWND clock);
    } rows[] = {
        {"the face's menu", [](HWND c) { PostMessageA(c, WM_RBUTTONUP, 0, 0); return waitForMenu(); }},
        {"a bell's menu", [](HWND c) { PostMessageA(c, WM_SCHEDULE_TRAY, 1, WM_RBUTTONUP); return waitForMenu(); }},
        {"the manager's list menu",
         [](HWND c) {
             HWND m = manager(c);
             if (!m) return m;
             HWND list = GetDlgItem(m, IDC_MANAGER_LIST);
             postClick(list, listRowPoint(list, 0), WM_RBUTTONDOWN, WM_RBUTTONUP);
             return waitForMenu();
         }},
        {"the manager", manager},
        {"the add dialog", addDialog},
        {"the calendar", [](HWND c) { HWND a = addDialog(c); return openFrom(a, a, IDC_ADD_CALENDAR, "カレンダー"); }},
        {"a message box", [](HWND c) { HWND a = addDialog(c); return openFrom(a, a, IDOK, "予定の追加"); }},
        {"the detail dialog",
         [](HWND c) { PostMessageA(c, WM_SCHEDULE_TRAY, 1, WM_LBUTTONDBLCLK); return waitForDialog(c, "予定の詳細"); }},
        {"the property sheet", propertySheet},
        {"the font dialog",
         [](HWND c) {
             HWND sheet = propertySheet(c);
             HWND display = sheet ? reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
             return openFrom(sheet, display, IDC_CHOOSE_FONT, "");
         }},
    };
    writeSettingDword("Flags", 0x20002);  // a custom font, so that its button is enabled
    for (const auto& row : rows) {
        SCOPED_TRACE(row.loop);
        // A missed schedule rings a bell (icon 1) at start; another stays in the file for the manager's list.
        ASSERT_TRUE(writeScheduleFile(folder.file("Schedules.dat"),
                                      {{SpecificDate, makeSystemTime(2000, 1, 1, 9, 0), "missed"},
                                       {SpecificDate, makeSystemTime(2099, 1, 1, 9, 0), "later"}}));
        RunningClock clock(folder);
        ASSERT_TRUE(clock.started()) << "a new start after the last row's Setup makes a clock";
        ASSERT_NE(row.open(clock.hwnd()), nullptr);
        expectSetupEndsTheClock(folder, clock);
    }
    RunningClock last(folder);
    EXPECT_TRUE(last.started());
}

TEST_F(Lifecycle, SetupWithoutClockEndsAtOnce) {
    ASSERT_EQ(findClock(), nullptr);
    Process setup;
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(setup.start(folder.setupPath()));
    DWORD code = 99;
    ASSERT_TRUE(setup.waitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    // It did not take the one-second pause that follows closing a clock.
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

// A window of this test program with the clock's class but another title.
LRESULT CALLBACK countCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Lifecycle, SetupLeavesAloneAWindowWithAnotherTitle) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = countCommands;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = CLOCK_CLASS;
    RegisterClassA(&wc);
    HWND decoy = CreateWindowExA(0, CLOCK_CLASS, "別の時計", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(decoy, nullptr);

    Process setup;
    ASSERT_TRUE(setup.start(folder.setupPath()));
    DWORD code = 99;
    // Keep answering messages while Setup runs, as a real window would.
    const ULONGLONG end = GetTickCount64() + 10000;
    while (!setup.waitExit(10, &code) && GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(IsWindow(decoy));
    EXPECT_EQ(GetWindowLongPtrA(decoy, GWLP_USERDATA), 0);
    DestroyWindow(decoy);
    UnregisterClassA(CLOCK_CLASS, wc.hInstance);
}

}  // namespace
