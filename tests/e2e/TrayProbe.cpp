#include "e2e/TrayProbe.h"

#include <shellapi.h>

namespace harness {

namespace {

constexpr UINT WM_SCHEDULE_TRAY = WM_USER + 121;

BOOL CALLBACK collectChild(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

struct BalloonSearch {
    std::string text;
};

BOOL CALLBACK findBalloon(HWND window, LPARAM context) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "tooltips_class32") != 0 || !IsWindowVisible(window)) return TRUE;
    char text[512] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                             &length) ||
        length == 0) {
        return TRUE;
    }
    reinterpret_cast<BalloonSearch*>(context)->text = text;
    return FALSE;
}

}  // namespace

namespace {

bool trayIconCall(DWORD message, HWND owner, UINT id) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = WM_SCHEDULE_TRAY;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

}  // namespace

bool trayIconShown(HWND owner, UINT id) { return trayIconCall(NIM_MODIFY, owner, id); }

bool removeTrayIcon(HWND owner, UINT id) { return trayIconCall(NIM_DELETE, owner, id); }

UINT trayIconsShown(HWND owner, UINT last) {
    UINT shown = 0;
    for (UINT id = 1; id <= last; ++id) shown += trayIconShown(owner, id);
    return shown;
}

std::vector<HWND> trayIconWindows() {
    std::vector<HWND> icons;
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    if (tray) EnumChildWindows(tray, collectChild, reinterpret_cast<LPARAM>(&icons));
    return icons;
}

const char* bellColourName(BellColour colour) {
    switch (colour) {
    case BellColour::Yellow:
        return "yellow";
    case BellColour::Magenta:
        return "magenta";
    case BellColour::Red:
        return "red";
    case BellColour::Olive:
        return "olive";
    default:
        return "none";
    }
}

BellColour bellColourOf(HWND iconWindow) {
    RECT rect;
    if (!GetWindowRect(iconWindow, &rect)) return BellColour::None;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int yellow = 0, magenta = 0, red = 0, olive = 0;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        for (int i = 0; i < width * height; ++i) {
            switch (pixels[i] & 0xFFFFFF) {
            case 0xFFFF00: ++yellow; break;
            case 0xFF00FF: ++magenta; break;
            case 0xFF0000: ++red; break;
            case 0x808000: ++olive; break;
            default: break;
            }
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    // The yellow bells are shaded in olive; the olive bell has no yellow at all.
    if (yellow > 0) return BellColour::Yellow;
    if (magenta > 0) return BellColour::Magenta;
    if (olive > red) return BellColour::Olive;
    if (red > 0) return BellColour::Red;
    return BellColour::None;
}

std::string balloonText() {
    BalloonSearch search;
    EnumWindows(findBalloon, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

}  // namespace harness
