// One notification-area icon, owned by an announced schedule: added with a tip
// and a balloon, re-pictured while the watch animates it, removed with its owner.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

// The one place that calls the shell's notification area, so that tests can
// count and inspect the calls.
using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
extern ShellNotifyIconFunction shellNotifyIcon;

struct TrayIcon {
    HWND hWnd = nullptr;  // receives WM_SCHEDULE_TRAY
    uint32_t id = 0;      // 0 while no icon is shown
    // The notification area has the icon: its add succeeded, and the area was
    // not made anew since.
    bool shown = false;

    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { trayRemove(); }

    // Shows the icon under newId (an icon already shown is removed first). Any
    // text argument may be null, which leaves that part out.
    bool trayAdd(uint32_t newId, HICON icon, const char* text, const char* titleSuffix, const char* timePrefix,
                 bool balloon);
    bool trayModify(HICON icon, const char* text, const char* titleSuffix, const char* timePrefix, bool balloon);
    bool trayRemove();
    // Adds the icon again under its id, without a balloon, to a notification area
    // that does not have it; true once the area has it.
    bool trayShowAgain(HICON icon, const char* text, const char* timePrefix);
};
