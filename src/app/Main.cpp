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
    if (window != clockWindow.hwnd) return DefWindowProcA(window, message, wParam, lParam);
    const bool handled = clockWindow.handleMessage(message, wParam, lParam);
    // The window may have gone while this message ran a menu, a dialog or a message
    // box. Their own loops may take the quit message its destruction posted and
    // not post it again, which would leave the main loop waiting for ever: it is
    // posted once more (a second quit is no more than the first).
    if (!clockWindow.hwnd) PostQuitMessage(0);
    return handled ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

void registerClockClass(HINSTANCE instance, HICON icon) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
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

// Held by the running clock for its whole life. Two copies started at the same
// moment would otherwise both search for a window before either has made one, and
// both become clocks.
constexpr char INSTANCE_MUTEX_NAME[] = "Local\\Velmora.Quillet.RunningClock";
// How long a copy that finds the name taken waits for that clock's window.
constexpr DWORD HANDOVER_WAIT_MS = 30000;
constexpr DWORD HANDOVER_POLL_MS = 50;

// True once this copy holds the running clock's name; a copy whose holder ended
// without a window (a failed start) takes the name over.
bool holdsInstanceName(HANDLE instanceMutex) {
    const DWORD result = WaitForSingleObject(instanceMutex, 0);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// Hands the Properties command to a clock that is already running, or still
// starting; true if this copy is to end. A clock's window counts even where its
// copy holds no name; without the name (it could not be created) the window search
// alone decides.
bool handOverToRunningClock(HANDLE instanceMutex) {
    for (DWORD waited = 0;; waited += HANDOVER_POLL_MS) {
        HWND running = FindWindowA(windowClass, windowTitle);
        if (running) {
            SendMessageA(running, WM_COMMAND, CMD_PROPERTIES, 0);
            return true;
        }
        if (!instanceMutex || holdsInstanceName(instanceMutex)) return false;
        // A clock that never shows its window after this long is stuck; leave it be.
        if (waited >= HANDOVER_WAIT_MS) return true;
        Sleep(HANDOVER_POLL_MS);
    }
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
    HANDLE instanceMutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    if (handOverToRunningClock(instanceMutex)) {
        if (instanceMutex) CloseHandle(instanceMutex);
        DestroyIcon(icon);
        return 0;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    const int exitCode = createClockWindow(instance, showCommand)
                             ? runMessageLoop(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS)))
                             : 0;
    if (instanceMutex) {
        ReleaseMutex(instanceMutex);
        CloseHandle(instanceMutex);
    }
    DestroyIcon(icon);
    return exitCode;
}
