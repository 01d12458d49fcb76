// The clock's pop-up menus as a user meets them: which one a right click on the
// face opens, the states of their items, and whether a choice comes back as a
// result or as a command posted to the clock. The menus run for real; a timer
// inside their modal loop reads the open menu and presses keys in it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "res/resource.h"
#include "win/ClockOnWindow.h"

namespace {

// What an open pop-up menu held.
struct OpenMenu {
    bool shown = false;
    std::vector<UINT> commands;  // 0 for a separator
    bool lockChecked = false;
    UINT detailsState = 0;       // MF_ state of the list's details item
    UINT defaultItem = 0;
};

OpenMenu* inspected = nullptr;
std::vector<WPARAM> keysToPress;

BOOL CALLBACK findMenuWindow(HWND window, LPARAM found) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK inspectOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menuWindow = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
    if (!menuWindow) return;
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    inspected->shown = true;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) inspected->commands.push_back(GetMenuItemID(menu, i));
    const UINT lockState = GetMenuState(menu, CMD_LOCK_POSITION, MF_BYCOMMAND);
    inspected->lockChecked = lockState != static_cast<UINT>(-1) && (lockState & MF_CHECKED);
    inspected->detailsState = GetMenuState(menu, CMD_LIST_DETAILS, MF_BYCOMMAND);
    inspected->defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
    for (WPARAM key : keysToPress) PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
}

class Menus : public ClockOnWindow {
protected:
    void SetUp() override {
        ClockOnWindow::SetUp();
        ASSERT_TRUE(clock->loadMenus());
    }

    // Runs `show`, which opens a menu, reads the menu and presses `keys` in it.
    OpenMenu whileOpen(const std::function<void()>& show, std::vector<WPARAM> keys = {VK_ESCAPE}) {
        OpenMenu menu;
        inspected = &menu;
        keysToPress = std::move(keys);
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, inspectOpenMenu);
        show();
        KillTimer(nullptr, timer);
        inspected = nullptr;
        return menu;
    }

    // The command posted to the clock's window, or 0.
    WPARAM postedCommand() const {
        MSG message;
        return PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) ? LOWORD(message.wParam) : 0;
    }

    OpenMenu rightClick(uint32_t flags, std::vector<WPARAM> keys = {VK_ESCAPE}) {
        clock->flags = flags;
        return whileOpen([this] { clock->handleMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); }, std::move(keys));
    }
};

const std::vector<UINT> FULL_MENU = {CMD_ADD_SCHEDULE,    CMD_SCHEDULE_MANAGER, 0, CMD_SAVE_POSITION, CMD_LOCK_POSITION,
                                     CMD_ADJUST_DATETIME, 0, CMD_PROPERTIES,     0, CMD_EXIT};
const std::vector<UINT> SIMPLE_MENU = {CMD_ADD_SCHEDULE, CMD_SCHEDULE_MANAGER, 0, CMD_ADJUST_DATETIME, 0,
                                       CMD_PROPERTIES};

TEST_F(Menus, RightClickOnTheFaceOpensTheMenuTheSettingsChoose) {
    const struct {
        const char* name;
        uint32_t flags;
        bool shown;
        std::vector<UINT> commands;
        bool lockChecked;
    } rows[] = {
        {"full", FLAGS_DEFAULT, true, FULL_MENU, false},
        {"full, locked", FLAGS_DEFAULT | FLAG_POSITION_LOCKED, true, FULL_MENU, true},
        {"full, unlocked again", FLAGS_DEFAULT, true, FULL_MENU, false},
        {"simple", FLAGS_DEFAULT | FLAG_MENU_SIMPLE, true, SIMPLE_MENU, false},
        {"hidden", FLAGS_DEFAULT | FLAG_MENU_SIMPLE | FLAG_MENU_HIDDEN, false, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const OpenMenu menu = rightClick(row.flags);
        EXPECT_EQ(menu.shown, row.shown);
        EXPECT_EQ(menu.commands, row.commands);
        EXPECT_EQ(menu.lockChecked, row.lockChecked);
        if (row.shown) {
            EXPECT_EQ(menu.defaultItem, static_cast<UINT>(CMD_ADD_SCHEDULE));
        }
        EXPECT_EQ(postedCommand(), 0u);
    }
    // A choice in a face menu reaches the clock as a posted command.
    EXPECT_TRUE(rightClick(FLAGS_DEFAULT, {VK_DOWN, VK_RETURN}).shown);
    EXPECT_EQ(postedCommand(), static_cast<WPARAM>(CMD_ADD_SCHEDULE));
}

// The tray menu's returned choice is shown by the bells' end-to-end test, where
// a posted command would dismiss nothing.
TEST_F(Menus, ScheduleListMenuReturnsItsChoiceAndGreysDetailsForTwoRows) {
    UINT chosen = 99;
    OpenMenu menu = whileOpen([&] { chosen = clock->showScheduleListMenu(1); });
    EXPECT_EQ(menu.commands, (std::vector<UINT>{CMD_LIST_DELETE, 0, CMD_ADD_SCHEDULE, 0, CMD_LIST_DETAILS}));
    EXPECT_FALSE(menu.detailsState & MF_GRAYED);
    EXPECT_EQ(menu.defaultItem, static_cast<UINT>(CMD_LIST_DETAILS));
    EXPECT_EQ(chosen, 0u);
    // The details of two rows cannot be shown: greyed, and no longer the default.
    menu = whileOpen([&] { chosen = clock->showScheduleListMenu(2); }, {VK_DOWN, VK_RETURN});
    EXPECT_TRUE(menu.detailsState & MF_GRAYED);
    EXPECT_NE(menu.defaultItem, static_cast<UINT>(CMD_LIST_DETAILS));
    EXPECT_EQ(chosen, static_cast<UINT>(CMD_LIST_DELETE));
    EXPECT_EQ(postedCommand(), 0u);
}

}  // namespace
