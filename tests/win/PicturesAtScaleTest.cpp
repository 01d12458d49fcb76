// The clock's pictures at another display scale: the bells and the menu
// pictures in the size for the dpi, reloaded when the dpi changes, and a shown
// bell given its new picture.
#include <gtest/gtest.h>

#include <windows.h>

#include "win/ClockOnWindow.h"
#include "win/ShellNotifyRecorder.h"

namespace {

SIZE iconSize(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return SIZE{};
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return SIZE{bitmap.bmWidth, bitmap.bmHeight};
}

using PicturesAtScale = ClockOnWindow;

TEST_F(PicturesAtScale, BellsAndMenuPicturesAreDrawnForTheDpiAndAShownBellIsGivenItsNew) {
    ASSERT_TRUE(clock->loadMenus());
    ASSERT_TRUE(clock->loadNotifyIcons());
    Schedule* shown = new Schedule(window);
    shown->trayIcon.id = 1;
    shown->iconStage = 4;
    clock->notifiedSchedules.pushFront(shown);
    ShellNotifyRecorder shell;
    // The rows: dpi, bell side, menu picture width and height.
    const int rows[][4] = {{144, 24, 24, 23}, {192, 32, 32, 30}, {120, 20, 20, 19}, {96, 16, 16, 15}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        clock->onDpiChanged(row[0], RECT{100, 100, 200, 200});
        for (HICON bell : clock->notifyIcons) EXPECT_EQ(row[1], iconSize(bell).cx);
        int width = 0, height = 0;
        ImageList_GetIconSize(clock->hImageList, &width, &height);
        EXPECT_EQ(row[2], width);
        EXPECT_EQ(row[3], height);
        ASSERT_FALSE(shell.calls.empty());
        EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), shell.calls.back().message);
        EXPECT_EQ(clock->notifyIcons[4], shell.calls.back().data.hIcon);
    }
    clock->clearNotified();
}

}  // namespace
