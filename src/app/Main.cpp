// Program entry: the single-instance rule, the window class, the clock window and
// the message loop with the accelerators.
#include <windows.h>
#include <commctrl.h>

#include "app/ClockWindow.h"
#include "app/Commands.h"
#include "res/resource.h"

namespace {

char windowTitle[100];
char windowClass[100];

LRESULT CALLBACK routeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == clockWindow.hwnd && clockWindow.handleMessage(message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClockClass(HINSTANCE instance, HICON icon) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = routeMessage;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_HAND);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_SCROLLBAR + 1));
    wc.lpszClassName = windowClass;
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLET_SMALL));
    RegisterClassExA(&wc);
}

bool createClockWindow(HINSTANCE instance, int showCommand) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass, windowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return false;
    if (!clockWindow.initialize(window, showCommand)) {
        clockWindow.onDestroy();
        return false;
    }
    return true;
}

// Hands the Properties command to a clock that is already running; true if there was one.
bool handOverToRunningClock() {
    HWND running = FindWindowA(windowClass, windowTitle);
    if (!running) return false;
    SendMessageA(running, WM_COMMAND, CMD_PROPERTIES, 0);
    return true;
}

int runMessageLoop(HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    LoadStringA(instance, IDS_WINDOW_TITLE, windowTitle, sizeof windowTitle);
    LoadStringA(instance, IDS_WINDOW_CLASS, windowClass, sizeof windowClass);
    HICON icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLET), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) return 0;
    registerClockClass(instance, icon);
    if (handOverToRunningClock()) {
        DestroyIcon(icon);
        return 0;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    if (!createClockWindow(instance, showCommand)) {
        DestroyIcon(icon);
        return 0;
    }
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    const int exitCode = runMessageLoop(accelerators);
    DestroyIcon(icon);
    return exitCode;
}
