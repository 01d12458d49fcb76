// The yardsticks of the clock's idle cost. Without an argument the program only
// sleeps: what any process of the prefix costs. With a period in milliseconds it
// runs the clock's kind of timer on a hidden window and a message loop that does
// nothing with it: the least a clock ticking at that period can cost.
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK ignoreTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const UINT period = static_cast<UINT>(std::strtoul(commandLine, nullptr, 10));
    if (period == 0) {
        Sleep(INFINITE);
        return 0;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ignoreTimer;
    wc.hInstance = instance;
    wc.lpszClassName = "QuilletIdleTimer";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    if (!window || !SetTimer(window, 1, period, nullptr)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
