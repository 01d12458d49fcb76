// The yardsticks of the clock's idle cost. Without an argument the program only
// sleeps: what any process of the prefix costs. With a period in milliseconds it
// runs the clock's kind of timer on a hidden window and a message loop that does
// nothing with it: the least a clock ticking at that period can cost. With "show"
// after the period the window is on the screen and each tick reads the local time
// and, when the second has changed, draws its two digits: the least any program
// that shows the seconds can cost.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool showSeconds = false;

void drawSecond(HWND window) {
    static WORD shown = 60;
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond == shown) return;
    shown = now.wSecond;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02u", now.wSecond);
    if (HDC dc = GetDC(window)) {
        TextOutA(dc, 0, 0, digits, 2);
        ReleaseDC(window, dc);
    }
}

LRESULT CALLBACK onTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return DefWindowProcA(window, message, wParam, lParam);
    if (showSeconds) drawSecond(window);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    char* rest = nullptr;
    const UINT period = static_cast<UINT>(std::strtoul(commandLine, &rest, 10));
    if (period == 0) {
        Sleep(INFINITE);
        return 0;
    }
    showSeconds = std::strstr(rest, "show") != nullptr;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = onTimer;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "QuilletIdleTimer";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | (showSeconds ? WS_VISIBLE : 0),
                                  0, 0, 40, 20, nullptr, nullptr, instance, nullptr);
    if (!window || !SetTimer(window, 1, period, nullptr)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
