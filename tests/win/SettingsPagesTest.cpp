// The About page's version reader and the shell launch behind its buttons, with
// the shell replaced by a recorder; and the timer the Display page switches.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "settings/SettingsPages.h"
#include "settings/ShellLaunch.h"
#include "win/ClockOnWindow.h"

namespace {

TEST(VersionLine, IsZeroWhenTheVersionResourceCannotBeRead) {
    // The core test program beside this one carries no resources at all.
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string coreTests = path;
    coreTests.replace(coreTests.rfind("win_tests.exe"), std::string::npos, "core_tests.exe");
    HMODULE withoutVersion = LoadLibraryExA(coreTests.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(withoutVersion, nullptr);
    for (HINSTANCE module : {static_cast<HINSTANCE>(nullptr), withoutVersion}) {
        char line[64];
        composeVersionLine(module, line, sizeof line);
        EXPECT_STREQ(line, "Version 0.0.0  Build 0000");
    }
    FreeLibrary(withoutVersion);
}

// The shell waits until the test lets it go on, then records what it was given.
HANDLE shellMayRun, launched;
std::string seenFile, seenDirectory;
bool seenInApartment;

HINSTANCE WINAPI recordLaunch(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR directory, INT) {
    WaitForSingleObject(shellMayRun, INFINITE);
    // Only a thread already in a single-threaded apartment refuses the other model.
    const HRESULT other = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    seenInApartment = other == RPC_E_CHANGED_MODE;
    if (SUCCEEDED(other)) CoUninitialize();
    seenFile = file;
    seenDirectory = directory ? "\"" + std::string(directory) + "\"" : "null";
    SetEvent(launched);
    return nullptr;
}

TEST(ShellLaunch, ReturnsAtOnceAndTheWorkerOwnsCopiesOfTheStrings) {
    shellMayRun = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    launched = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const ShellExecuteFunction previous = shellExecute;
    shellExecute = recordLaunch;
    for (const char* directory : {"", static_cast<const char*>(nullptr)}) {
        auto file = std::make_unique<std::string>("https://quillet.example.com/");
        // The shell is held up, so the call returns only because it does not wait for it.
        EXPECT_TRUE(launchShellAsync(nullptr, "open", file->c_str(), nullptr, directory, SW_SHOWNORMAL));
        file->assign(file->size(), 'x');
        file.reset();
        SetEvent(shellMayRun);
        ASSERT_EQ(WaitForSingleObject(launched, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(seenFile, "https://quillet.example.com/");
        EXPECT_EQ(seenDirectory, directory ? "\"\"" : "null");
        EXPECT_TRUE(seenInApartment);
    }
    shellExecute = previous;
    CloseHandle(shellMayRun);
    CloseHandle(launched);
}

// WM_TIMER messages of the clock timer over a second and a half.
int clockTimerMessages(HWND window) {
    int count = 0;
    for (const ULONGLONG end = GetTickCount64() + 1500; GetTickCount64() < end; Sleep(10)) {
        MSG msg;
        while (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) count += msg.wParam == 1;
    }
    return count;
}

using SecondsTimer = ClockOnWindow;

TEST_F(SecondsTimer, ShowingSecondsRunsTheTimerFourTimesASecond) {
    clock->timerId = static_cast<uint32_t>(SetTimer(window, 1, 1000, nullptr));
    clock->enableSeconds();
    EXPECT_GE(clockTimerMessages(window), 4);  // six at 250 ms, one at 1000 ms
    clock->disableSeconds();
    EXPECT_LE(clockTimerMessages(window), 2);
    KillTimer(window, 1);
}

}  // namespace
