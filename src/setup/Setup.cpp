// Setup: closes a running clock so that its files can be replaced. It finds the
// clock's window by class and title, sends it the Exit command and gives it a moment.
#include <windows.h>

#include "res/resource.h"

namespace {



void closeRunningClock(HINSTANCE instance) {
    char title[100] = "";
    char className[100] = "";
    LoadStringA(instance, IDS_WINDOW_TITLE, title, sizeof title);
    LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);
    HWND clock = FindWindowA(className, title);
    if (!clock) return;
    SendMessageA(clock, WM_COMMAND, CMD_EXIT, 0);
    Sleep(1000);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    closeRunningClock(instance);
    return 0;
}
