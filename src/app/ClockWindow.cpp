#include "app/ClockWindow.h"

#include "app/Commands.h"
#include "app/TickDecision.h"
#include "res/resource.h"
#include "settings/Flags.h"
#include "settings/ShellLaunch.h"

ClockWindow clockWindow;

// GetLocalTime itself has the system's calling convention, which differs in 32-bit builds.
static void readSystemLocalTime(SYSTEMTIME* time) { GetLocalTime(time); }
LocalTimeSource readLocalTime = readSystemLocalTime;

namespace {

// The seven notification icons, in the order of notifyIcons.
const WORD NOTIFY_ICON_IDS[7] = {IDI_BELL_BLINK_A, IDI_BELL_BLINK_B, IDI_BELL_UPRIGHT, IDI_BELL_MAGENTA,
                                 IDI_BELL_RED,     IDI_BELL_RED_STROKES, IDI_BELL_OLIVE};

bool isFaceRefitMessage(UINT message) {
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
    case WM_FONTCHANGE:
    case WM_INPUTLANGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED:
        return true;
    default:
        return false;
    }
}

bool isResumeEvent(WPARAM event) {
    return event == PBT_APMRESUMECRITICAL || event == PBT_APMRESUMESUSPEND || event == PBT_APMRESUMEAUTOMATIC;
}

}  // namespace

ClockWindow::ClockWindow()
    : scheduleFilePath(nullptr), notifyIcons(), hwnd(nullptr), hMenu(nullptr), hImageList(nullptr), now(),
      textLength(0), dateLength(0), editLogFont(), editFontColor(0), logFont(), fontColor(0), backColor(0),
      processId(0), faceRect(), grabX(0), grabY(0), posX(0), posY(0), timerId(0), flags(FLAGS_DEFAULT),
      lastWatchTime(), daysInMonth(0), displayText(), datePicture() {}

ClockWindow::~ClockWindow() { releaseResources(); }

bool ClockWindow::initialize(HWND window, int showCommand) {
    processId = GetCurrentProcessId();
    // The pictures are made for the dpi the window is shown at.
    dpi = dpiOfWindow(window);
    if (!loadMenus()) return false;
    if (!loadNotifyIcons()) return false;
    if (!resolveScheduleFilePath()) return false;
    if (!window) return false;
    hwnd = window;
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    loadSettings();
    buildDatePicture();
    loadLastCheck();
    readLocalTime(&now);
    reloadToday();
    refitFace();
    refreshFaceText();
    timerId = CLOCK_TIMER_ID;
    timerId = static_cast<uint32_t>(SetTimer(
        hwnd, timerId, (flags & FLAG_SHOW_SECONDS) ? TIMER_PERIOD_SECONDS_MS : TIMER_PERIOD_MS, nullptr));
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    applyTopmost();
    checkDue();
    return true;
}

bool ClockWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (isFaceRefitMessage(message)) {
        refitFace();
        InvalidateRect(hwnd, nullptr, TRUE);
        return true;
    }
    if (message == taskbarCreatedMessage && message != 0) {
        onTaskbarCreated();
        return true;
    }
    switch (message) {
    case WM_DESTROY:
        onDestroy();
        return false;
    case WM_PAINT:
        // Fully handled: the default handling would only begin and end an empty paint.
        paintFace();
        return true;
    case WM_TIMECHANGE:
        tick();
        return true;
    case WM_DRAWITEM:
        onDrawItem(wParam, lParam);
        return true;
    case WM_MEASUREITEM:
        onMeasureItem(wParam, lParam);
        return true;
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
        return onSysCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_TIMER:
        return onTimer(wParam);
    case WM_MOUSEMOVE:
        onMouseMove(wParam, lParam);
        return true;
    case WM_LBUTTONDOWN:
        onLButtonDown(wParam, lParam);
        return true;
    case WM_LBUTTONUP:
        onLButtonUp();
        return true;
    case WM_LBUTTONDBLCLK:
        showAddScheduleDialog(nullptr);
        return true;
    case WM_RBUTTONUP:
        showContextMenu();
        return true;
    case WM_POWERBROADCAST:
        if (!isResumeEvent(wParam)) return false;
        InvalidateRect(hwnd, nullptr, TRUE);
        return true;
    case WM_SCHEDULE_TRAY:
        return onTrayNotify(wParam, lParam);
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    default:
        return false;
    }
}

bool ClockWindow::onCommand(UINT commandId, UINT /*notificationCode*/) {
    switch (commandId) {
    case CMD_EXIT:
        // A menu of the clock's may be open (Setup's command arrives inside its loop).
        EndMenu();
        DestroyWindow(hwnd);
        return true;
    case CMD_SAVE_POSITION:
        savePosition();
        return true;
    case CMD_ADD_SCHEDULE:
        showAddScheduleDialog(nullptr);
        return true;
    case CMD_ADJUST_DATETIME:
        launchShellAsync(hwnd, "open", "control.exe", "date/time", nullptr, SW_SHOWNORMAL);
        return true;
    case CMD_LOCK_POSITION:
        if (flags & FLAG_POSITION_LOCKED) {
            flags &= ~FLAG_POSITION_LOCKED;
        } else {
            flags |= FLAG_POSITION_LOCKED;
            savePosition();
        }
        saveSettings();
        return true;
    case CMD_PROPERTIES:
        showPropertySheet();
        return true;
    case CMD_SCHEDULE_MANAGER:
        showScheduleManager();
        return true;
    default:
        return false;
    }
}

bool ClockWindow::onSysCommand(UINT command, UINT /*highWord*/) {
    switch (command) {
    case SC_CLOSE:
        DestroyWindow(hwnd);
        return true;
    case SC_RESTORE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return true;
    default:
        return false;
    }
}

bool ClockWindow::onTimer(UINT_PTR timerIdentifier) {
    if (timerIdentifier != timerId) return false;
    tick();
    return true;
}

void ClockWindow::tick() {
    SYSTEMTIME t;
    readLocalTime(&t);
    const TickDecision decision = decideTick(now, t, (flags & FLAG_SHOW_SECONDS) != 0, dayListUnread);
    if (decision.sameSecond) return;
    if (decision.refreshFace) {
        now = t;
        if (decision.reloadDay) reloadToday();
        if (decision.minuteChanged) checkDue();
        refreshFaceText();
        showNewFace();
    }
    FILETIME nowFileTime{};
    SystemTimeToFileTime(&now, &nowFileTime);
    animateNotified(fileTimeValue(nowFileTime));
    showMissingBells();
    if ((flags & FLAG_TOPMOST) && t.wSecond % 2 == 0) {
        HWND top = GetTopWindow(nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner != processId) placeBelow(top);
    }
}

void ClockWindow::enableSeconds() {
    if (flags & FLAG_SHOW_SECONDS) return;
    flags |= FLAG_SHOW_SECONDS;
    timerId = static_cast<uint32_t>(SetTimer(hwnd, timerId, TIMER_PERIOD_SECONDS_MS, nullptr));
}

void ClockWindow::disableSeconds() {
    if (!(flags & FLAG_SHOW_SECONDS)) return;
    flags &= ~FLAG_SHOW_SECONDS;
    timerId = static_cast<uint32_t>(SetTimer(hwnd, timerId, TIMER_PERIOD_MS, nullptr));
}

void ClockWindow::onDestroy() {
    if (hwnd) {
        if (timerId) KillTimer(hwnd, timerId);
        hwnd = nullptr;
    }
    PostQuitMessage(0);
}

// The seven bells at the notification area's size for the clock's dpi. Either
// the whole set is replaced or, when one picture cannot be loaded, none is.
bool ClockWindow::loadNotifyIcons() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const int size = smallIconSize(dpi);
    HICON loaded[7] = {};
    for (int i = 0; i < 7; ++i) {
        loaded[i] = static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(NOTIFY_ICON_IDS[i]), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        if (!loaded[i]) {
            for (HICON icon : loaded) {
                if (icon) DestroyIcon(icon);
            }
            return false;
        }
    }
    for (int i = 0; i < 7; ++i) {
        if (notifyIcons[i]) DestroyIcon(notifyIcons[i]);
        notifyIcons[i] = loaded[i];
    }
    return true;
}

// The clock was moved to a monitor of another scale, or the scale was changed.
// The face keeps hugging its text: only the corner comes from the suggestion.
void ClockWindow::onDpiChanged(int newDpi, const RECT& suggested) {
    if (newDpi <= 0 || newDpi == dpi) return;
    dpi = newDpi;
    loadMenuPictures();
    if (loadNotifyIcons()) {
        for (Schedule* schedule = notifiedSchedules.head; schedule; schedule = schedule->next)
            schedule->trayIcon.trayModify(notifyIcons[schedule->iconStage], nullptr, nullptr, nullptr, false);
    }
    measureFace();
    MoveWindow(hwnd, suggested.left, suggested.top, faceRect.right - faceRect.left, faceRect.bottom - faceRect.top,
               TRUE);
    // Painted before the message returns, so that the face never shows a frame
    // of the old scale.
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

void ClockWindow::releaseResources() {
    freeMenus();
    delete[] scheduleFilePath;
    scheduleFilePath = nullptr;
    clearPending();
    clearNotified();
    faceCanvas.release();
    for (HICON& icon : notifyIcons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}
