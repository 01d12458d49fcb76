#include <gtest/gtest.h>

#include "ShellNotifyRecorder.h"
#include "app/Commands.h"

namespace {

HICON someIcon() { return LoadIconA(nullptr, MAKEINTRESOURCEA(32516)); }  // IDI_INFORMATION

TEST(TrayIcon, AddFillsTheNotificationDataOfTheBalloonLayout) {
    ShellNotifyRecorder shell;
    TrayIcon icon;
    icon.hWnd = reinterpret_cast<HWND>(0x1234);
    ASSERT_TRUE(icon.trayAdd(3, someIcon(), "会議", " 予定の通知", "午前 9:05", true));
    ASSERT_EQ(shell.calls.size(), 1u);
    const ShellNotifyCall& call = shell.calls[0];
    EXPECT_EQ(call.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(call.data.cbSize, static_cast<DWORD>(sizeof(void*) == 4 ? 488 : 504));
    EXPECT_EQ(call.data.hWnd, icon.hWnd);
    EXPECT_EQ(call.data.uID, 3u);
    EXPECT_EQ(call.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(call.data.uCallbackMessage, WM_SCHEDULE_TRAY);
    EXPECT_EQ(call.data.hIcon, someIcon());
    EXPECT_STREQ(call.data.szTip, "午前 9:05 会議");
    EXPECT_STREQ(call.data.szInfoTitle, "午前 9:05 予定の通知");
    EXPECT_STREQ(call.data.szInfo, "会議");
    EXPECT_EQ(call.data.uTimeout, 20000u);
    EXPECT_EQ(call.data.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(icon.id, 3u);
}

TEST(TrayIcon, ModifyWithAnIconOnlyChangesThePicture) {
    ShellNotifyRecorder shell;
    TrayIcon icon;
    icon.trayAdd(2, someIcon(), "x", " 予定の通知", "", true);
    EXPECT_TRUE(icon.trayModify(someIcon(), nullptr, nullptr, nullptr, false));
    shell.result = FALSE;
    EXPECT_FALSE(icon.trayModify(someIcon(), nullptr, nullptr, nullptr, false));  // the shell's answer
    ASSERT_EQ(shell.calls.size(), 3u);
    const NOTIFYICONDATAA& data = shell.calls[2].data;
    EXPECT_EQ(shell.calls[2].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(data.uID, 2u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_STREQ(data.szTip, "");
    EXPECT_STREQ(data.szInfo, "");
}

TEST(TrayIcon, AddRefusesWithoutIconOrIdAndReplacesAShownIcon) {
    ShellNotifyRecorder shell;
    TrayIcon icon;
    EXPECT_FALSE(icon.trayAdd(0, someIcon(), "x", nullptr, nullptr, false));
    EXPECT_FALSE(icon.trayAdd(1, nullptr, "x", nullptr, nullptr, false));
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(icon.id, 0u);

    icon.trayAdd(1, someIcon(), "x", nullptr, nullptr, false);
    icon.trayAdd(4, someIcon(), "y", nullptr, nullptr, false);
    ASSERT_EQ(shell.calls.size(), 3u);
    EXPECT_EQ(shell.calls[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.calls[1].data.uID, 1u);
    EXPECT_EQ(shell.calls[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.calls[2].data.uID, 4u);
    EXPECT_EQ(shell.calls[2].data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
}

TEST(TrayIcon, RemoveHappensOnceEvenWhenTheShellFailsAndOnDestruction) {
    ShellNotifyRecorder shell;
    {
        TrayIcon icon;
        icon.trayAdd(5, someIcon(), nullptr, nullptr, nullptr, false);
        shell.result = FALSE;
        EXPECT_FALSE(icon.trayRemove());
        EXPECT_EQ(icon.id, 0u);
        icon.trayRemove();
        EXPECT_EQ(shell.calls.size(), 2u);
        shell.result = TRUE;
        icon.trayAdd(6, someIcon(), nullptr, nullptr, nullptr, false);
    }
    ASSERT_EQ(shell.calls.size(), 4u);
    EXPECT_EQ(shell.calls[3].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.calls[3].data.uID, 6u);
}

}  // namespace
