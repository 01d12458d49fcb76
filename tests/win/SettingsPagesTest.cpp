// The About page's version reader and the shell launch behind its buttons, with
// the shell replaced by a recorder; and the timer the Display page switches.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "settings/SettingsPages.h"
#include "settings/ShellLaunch.h"
#include "win/ClockOnWindow.h"

namespace {

TEST(VersionLine, IsZeroWhenTheVersionResourceCannotBeRead) {
    // This test program carries no version resource.
    for (HINSTANCE module : {static_cast<HINSTANCE>(nullptr), GetModuleHandleA(nullptr)}) {
        VS_FIXEDFILEINFO info;
        EXPECT_FALSE(VersionInfoReader(module).readFixedInfo(info));
        char line[64];
        composeVersionLine(module, line, sizeof line);
        EXPECT_STREQ(line, "Version 0.0.0  Build 0000");
    }
}

// Records the launches; each waits until the test lets the shell go on.
struct Launch {
    std::string operation, file, parameters, directory;
    bool directoryGiven;
    int showCommand;
};
HANDLE shellMayRun;
HANDLE launched;
std::vector<Launch> launches;

std::string textOf(const char* s) { return s ? s : "(null)"; }

HINSTANCE WINAPI recordLaunch(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    WaitForSingleObject(shellMayRun, INFINITE);
    launches.push_back({textOf(operation), textOf(file), textOf(parameters), textOf(directory), directory != nullptr,
                        show});
    ReleaseSemaphore(launched, 1, nullptr);
    return reinterpret_cast<HINSTANCE>(33);
}

TEST(ShellLaunch, ReturnsAtOnceAndTheWorkerOwnsCopiesOfTheStrings) {
    shellMayRun = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    launched = CreateSemaphoreA(nullptr, 0, 2, nullptr);
    const ShellExecuteFunction previous = shellExecute;
    shellExecute = recordLaunch;
    struct Row {
        const char* directory;
        const char* seen;
    };
    for (const Row& row : {Row{"", ""}, Row{nullptr, "(null)"}}) {
        auto file = std::make_unique<std::string>("https://quillet.example.com/");
        // The shell is held up, so the call can only return if it does not wait for it.
        EXPECT_TRUE(launchShellAsync(nullptr, "open", file->c_str(), nullptr, row.directory, SW_SHOWNORMAL));
        file->assign(file->size(), 'x');
        file.reset();
        SetEvent(shellMayRun);
        ASSERT_EQ(WaitForSingleObject(launched, 10000), WAIT_OBJECT_0);
        ResetEvent(shellMayRun);
        const Launch& seen = launches.back();
        EXPECT_EQ(seen.operation, "open");
        EXPECT_EQ(seen.file, "https://quillet.example.com/");
        EXPECT_EQ(seen.parameters, "(null)");
        EXPECT_EQ(seen.directory, row.seen);
        EXPECT_EQ(seen.directoryGiven, row.directory != nullptr);
        EXPECT_EQ(seen.showCommand, SW_SHOWNORMAL);
    }
    shellExecute = previous;
    CloseHandle(shellMayRun);
    CloseHandle(launched);
}

// WM_TIMER messages of the window's clock timer over a second and a half.
int timerMessagesIn1500ms(HWND window) {
    int count = 0;
    const ULONGLONG end = GetTickCount64() + 1500;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) count += msg.wParam == 1;
        Sleep(10);
    }
    return count;
}

using SecondsTimer = ClockOnWindow;

TEST_F(SecondsTimer, ShowingSecondsRunsTheTimerFourTimesASecond) {
    clock->timerId = static_cast<uint32_t>(SetTimer(window, 1, 1000, nullptr));
    clock->enableSeconds();
    EXPECT_TRUE(clock->flags & FLAG_SHOW_SECONDS);
    EXPECT_GE(timerMessagesIn1500ms(window), 4);  // six at 250 ms, one at 1000 ms
    clock->disableSeconds();
    EXPECT_FALSE(clock->flags & FLAG_SHOW_SECONDS);
    EXPECT_LE(timerMessagesIn1500ms(window), 2);
    KillTimer(window, 1);
}

}  // namespace
