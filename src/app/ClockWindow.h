// The one object behind the one clock window. Each member is defined in the
// module of the subsystem that owns it; fields keep their documented order.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "app/DisplayScale.h"
#include "face/FaceCanvas.h"
#include "schedule/Schedule.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleRecordArray.h"
#include "util/DpiScale.h"

class ClockWindow {
public:
    ClockWindow();
    virtual ~ClockWindow();
    ClockWindow(const ClockWindow&) = delete;
    ClockWindow& operator=(const ClockWindow&) = delete;

    // Entry and dispatch (app/ClockWindow.cpp).
    bool initialize(HWND window, int showCommand);
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool onCommand(UINT commandId, UINT notificationCode);
    bool onSysCommand(UINT command, UINT highWord);
    bool onTimer(UINT_PTR timerIdentifier);
    void tick();
    void enableSeconds();
    void disableSeconds();
    void onDestroy();
    void releaseResources();
    // Display scale (app/ClockWindow.cpp, app/DisplayScale.h).
    bool loadNotifyIcons();
    void onDpiChanged(int newDpi, const RECT& suggested);
    int scaled(int pixels) const { return scaleToDpi(pixels, dpi); }
    LOGFONTA faceFont() const { return fontToDpi(logFont, dpi); }

    // Menus (app).
    bool loadMenus();
    bool loadMenuPictures();
    void freeMenus();
    void showContextMenu();
    UINT showTrayMenu(UINT iconId);
    UINT showScheduleListMenu(UINT selectedCount);
    void onMeasureItem(WPARAM wParam, LPARAM lParam);
    void onDrawItem(WPARAM wParam, LPARAM lParam);

    // Placement (app/Placement.cpp).
    void onLButtonDown(WPARAM keys, LPARAM lParam);
    void onMouseMove(WPARAM keys, LPARAM lParam);
    void onLButtonUp();
    void resizeWindow(int width, int height);
    bool applyTopmost();
    bool placeBelow(HWND window);

    // Date and time text, painting (face).
    void buildDatePicture();
    bool formatDate();
    bool formatTime();
    int paintFace();
    void drawFace(HDC dc) const;
    void putFace(HDC screen);
    void showNewFace();
    bool measureFace();
    void applyLayering();
    void reloadDefaultFont();
    void refitFace();
    void refreshFaceText();

    // Settings (settings).
    bool loadSettings();
    bool saveSettings();
    bool savePosition();
    bool loadLastCheck();
    bool saveLastCheck();
    bool showPropertySheet();

    // Schedules (schedule).
    bool resolveScheduleFilePath();
    bool reloadToday();
    void checkDue();
    void animateNotified(ULONGLONG nowFileTime);
    // The notification area was made anew: every bell is added to it again.
    void onTaskbarCreated();
    // Adds again each bell the notification area does not have.
    void showMissingBells();
    bool onTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    bool openNotificationDetail(Schedule& schedule, uint32_t iconId);
    // Returns IDOK when a schedule was added, IDCANCEL when not.
    INT_PTR showAddScheduleDialog(HWND owner);
    void showScheduleManager();
    void clearPending();
    void clearNotified();
    // Live schedules of today and the watch (schedule/LiveSchedules.cpp, schedule/ScheduleWatch.cpp).
    bool occursToday(const ScheduleRecord& record) const;
    bool updateDaysInMonth();
    bool computeDueTime(Schedule& schedule) const;
    bool addPending(const ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content);
    bool removePending(const ScheduleRecord& record);
    void dismissNotified(uint32_t iconId);
    uint32_t nextTrayIconId() const;
    // `owner` is the window the user adds from, which a report of damage is modal to.
    bool addSchedule(HWND owner, uint32_t type, const SYSTEMTIME& when, uint32_t weekOfMonth, const char* content);
    bool reportMissed(ScheduleRecordArray& missed);
    void announce(Schedule& schedule, bool missed);
    // The data file at scheduleFilePath (schedule/ScheduleStore.cpp); the file
    // operations themselves are in schedule/ScheduleFile.h.
    bool appendSchedule(ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content, bool& damageMet);
    static void reportDamagedScheduleFile(HWND owner);
    bool rewriteSchedules(const ScheduleRecord& record, RewriteMode mode, bool* replaced = nullptr);
    bool loadAllSchedules(StoredScheduleList& list);

    // Fields, in their documented order.
    char* scheduleFilePath;
    ScheduleList pendingSchedules;
    ScheduleList notifiedSchedules;
    HICON notifyIcons[7];
    HWND hwnd;
    HMENU hMenu;
    HIMAGELIST hImageList;
    SYSTEMTIME now;
    int32_t textLength;
    int32_t dateLength;
    LOGFONTA editLogFont;
    COLORREF editFontColor;
    LOGFONTA logFont;
    COLORREF fontColor;
    COLORREF backColor;
    uint32_t processId;
    RECT faceRect;
    int16_t grabX, grabY;
    int16_t posX, posY;
    uint32_t timerId;
    uint32_t flags;
    SYSTEMTIME lastWatchTime;
    uint16_t daysInMonth;
    // The data file could not be opened when today's schedules were last read.
    bool dayListUnread = false;
    char displayText[128];
    char datePicture[128];
    // Kept past the documented fields: the face's font and off-screen bitmap,
    // and the dpi the clock is shown at. Sizes are stored as they are at 96 dpi
    // (logFont among them) and scaled to this dpi where pixels are made.
    FaceCanvas faceCanvas;
    int dpi = BASE_DPI;
    // The message the shell sends every top-level window when it makes its
    // notification area anew ("TaskbarCreated").
    UINT taskbarCreatedMessage = 0;
};

// The program-wide clock window.
extern ClockWindow clockWindow;

// The local time as the clock reads it; tests replace it to drive the tick.
using LocalTimeSource = void (*)(SYSTEMTIME*);
extern LocalTimeSource readLocalTime;
