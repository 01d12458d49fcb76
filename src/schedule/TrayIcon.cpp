#include "schedule/TrayIcon.h"

#include "app/Commands.h"
#include "schedule/TrayText.h"

ShellNotifyIconFunction shellNotifyIcon = Shell_NotifyIconA;

namespace {

// The balloon stays up for 20 seconds unless the user closes it.
constexpr UINT BALLOON_TIMEOUT_MS = 20000;

// The notification data of the layout with balloons (tip of 128 bytes); its size
// is taken from the header so that 32- and 64-bit builds both hand the right one.
NOTIFYICONDATAA baseData(HWND hWnd, uint32_t id) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = hWnd;
    data.uID = id;
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = WM_SCHEDULE_TRAY;
    return data;
}

void fillTexts(NOTIFYICONDATAA& data, HICON icon, const char* text, const char* titleSuffix,
               const char* timePrefix, bool balloon) {
    if (icon) {
        data.uFlags |= NIF_ICON;
        data.hIcon = icon;
    }
    if (text) {
        data.uFlags |= NIF_TIP;
        buildTrayTip(data.szTip, timePrefix, text);
    }
    if (balloon) {
        data.uFlags |= NIF_INFO;
        if (titleSuffix || timePrefix) buildBalloonTitle(data.szInfoTitle, timePrefix, titleSuffix);
        if (text) buildBalloonText(data.szInfo, text);
        data.uTimeout = BALLOON_TIMEOUT_MS;
        data.dwInfoFlags = NIIF_INFO;
    }
}

}  // namespace

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the 32-bit notification data with balloons is 488 bytes");
#endif

bool TrayIcon::trayAdd(uint32_t newId, HICON icon, const char* text, const char* titleSuffix,
                       const char* timePrefix, bool balloon) {
    if (!icon || newId == 0) return false;
    trayRemove();
    id = newId;
    NOTIFYICONDATAA data = baseData(hWnd, id);
    fillTexts(data, icon, text, titleSuffix, timePrefix, balloon);
    shown = shellNotifyIcon(NIM_ADD, &data) != FALSE;
    return shown;
}

bool TrayIcon::trayShowAgain(HICON icon, const char* text, const char* timePrefix) {
    if (!icon || id == 0) return false;
    NOTIFYICONDATAA data = baseData(hWnd, id);
    fillTexts(data, icon, text, nullptr, timePrefix, false);
    // An add the shell timed out on may have reached it all the same; the icon is
    // then there to be modified.
    shown = shellNotifyIcon(NIM_ADD, &data) != FALSE || shellNotifyIcon(NIM_MODIFY, &data) != FALSE;
    return shown;
}

bool TrayIcon::trayModify(HICON icon, const char* text, const char* titleSuffix, const char* timePrefix,
                          bool balloon) {
    NOTIFYICONDATAA data = baseData(hWnd, id);
    fillTexts(data, icon, text, titleSuffix, timePrefix, balloon);
    return shellNotifyIcon(NIM_MODIFY, &data) != FALSE;
}

bool TrayIcon::trayRemove() {
    if (id == 0) return false;
    NOTIFYICONDATAA data = baseData(hWnd, id);
    id = 0;
    shown = false;
    return shellNotifyIcon(NIM_DELETE, &data) != FALSE;
}
