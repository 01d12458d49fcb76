// The pop-up menus of menu 109 and the pictures drawn beside the items of the
// two clock menus.
#include "app/ClockWindow.h"

#include "app/Commands.h"
#include "app/MenuItems.h"
#include "res/resource.h"
#include "settings/Flags.h"

namespace {

enum PopupPosition { POPUP_FULL = 0, POPUP_SIMPLE = 1, POPUP_TRAY = 2, POPUP_SCHEDULE_LIST = 3 };

const COLORREF PICTURE_MASK_COLOR = RGB(192, 192, 192);

// The picture strips, one per size the pictures are drawn in, smallest first;
// a picture is as high as its strip.
struct PictureStrip {
    WORD resource;
    int width;
};
const PictureStrip PICTURE_STRIPS[] = {
    {IDB_MENU_PICTURES, 16}, {IDB_MENU_PICTURES_20, 20}, {IDB_MENU_PICTURES_24, 24}, {IDB_MENU_PICTURES_32, 32}};

// The largest strip whose pictures are no wider than `wantedWidth` (the
// smallest when all are wider): pictures are drawn at their size, never stretched.
const PictureStrip& stripFor(int wantedWidth) {
    const PictureStrip* chosen = &PICTURE_STRIPS[0];
    for (const PictureStrip& strip : PICTURE_STRIPS) {
        if (strip.width <= wantedWidth) chosen = &strip;
    }
    return *chosen;
}

struct ItemPicture {
    UINT command;
    int picture;
};

const ItemPicture FULL_MENU_PICTURES[] = {{CMD_SAVE_POSITION, 0},   {CMD_EXIT, 2},         {CMD_ADJUST_DATETIME, 3},
                                          {CMD_LOCK_POSITION, 4},   {CMD_PROPERTIES, 5},   {CMD_SCHEDULE_MANAGER, 6},
                                          {CMD_ADD_SCHEDULE, 7}};
const ItemPicture SIMPLE_MENU_PICTURES[] = {
    {CMD_ADJUST_DATETIME, 3}, {CMD_PROPERTIES, 5}, {CMD_SCHEDULE_MANAGER, 6}, {CMD_ADD_SCHEDULE, 7}};

bool setItemState(HMENU menu, UINT command, UINT state) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = state;
    return SetMenuItemInfoA(menu, command, FALSE, &item) != 0;
}

}  // namespace

bool setItemPicture(HMENU menu, UINT command, int picture) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA | MIIM_BITMAP;
    item.dwItemData = static_cast<ULONG_PTR>(picture);
    item.hbmpItem = HBMMENU_CALLBACK;
    return SetMenuItemInfoA(menu, command, FALSE, &item) != 0;
}

bool setDefaultItem(HMENU menu, UINT command) { return setItemState(menu, command, MFS_DEFAULT); }

namespace {

template <size_t N>
void decoratePopup(HMENU popup, const ItemPicture (&pictures)[N]) {
    if (!popup) return;
    for (const ItemPicture& p : pictures) setItemPicture(popup, p.command, p.picture);
    setDefaultItem(popup, CMD_ADD_SCHEDULE);
}

// Each channel mixed from the highlight and menu colours: (H + M) / 2 under the
// mouse, (H + 3M) / 4 otherwise.
COLORREF checkedFrameFill(COLORREF highlight, COLORREF menu, bool selected) {
    auto mix = [selected](int h, int m) { return selected ? (h + m) / 2 : (h + 3 * m) / 4; };
    return RGB(mix(GetRValue(highlight), GetRValue(menu)), mix(GetGValue(highlight), GetGValue(menu)),
               mix(GetBValue(highlight), GetBValue(menu)));
}

}  // namespace

// The menu pictures in the size for the clock's dpi; the pictures in use are
// kept when the new ones cannot be loaded.
bool ClockWindow::loadMenuPictures() {
    const PictureStrip& strip = stripFor(scaled(PICTURE_STRIPS[0].width));
    HIMAGELIST loaded = ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(strip.resource), strip.width,
                                             2, PICTURE_MASK_COLOR, IMAGE_BITMAP, LR_DEFAULTCOLOR);
    if (!loaded) return false;
    if (hImageList) ImageList_Destroy(hImageList);
    hImageList = loaded;
    return true;
}

bool ClockWindow::loadMenus() {
    freeMenus();
    if (!loadMenuPictures()) return false;
    hMenu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    if (!hMenu) return false;
    decoratePopup(GetSubMenu(hMenu, POPUP_FULL), FULL_MENU_PICTURES);
    decoratePopup(GetSubMenu(hMenu, POPUP_SIMPLE), SIMPLE_MENU_PICTURES);
    return true;
}

void ClockWindow::freeMenus() {
    if (hMenu) DestroyMenu(hMenu);
    hMenu = nullptr;
    if (hImageList) ImageList_Destroy(hImageList);
    hImageList = nullptr;
}

void ClockWindow::showContextMenu() {
    if (flags & FLAG_MENU_HIDDEN) return;
    HMENU popup = GetSubMenu(hMenu, (flags & FLAG_MENU_SIMPLE) ? POPUP_SIMPLE : POPUP_FULL);
    if (!popup) return;
    POINT cursor;
    GetCursorPos(&cursor);
    setItemState(popup, CMD_LOCK_POSITION, (flags & FLAG_POSITION_LOCKED) ? MFS_CHECKED : 0);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_NONOTIFY, cursor.x, cursor.y, 0, hwnd, nullptr);
}

UINT ClockWindow::showTrayMenu(UINT /*iconId*/) {
    HMENU popup = GetSubMenu(hMenu, POPUP_TRAY);
    if (!popup) return 0;
    POINT cursor;
    GetCursorPos(&cursor);
    SetMenuDefaultItem(popup, CMD_TRAY_DETAILS, FALSE);
    SetForegroundWindow(hwnd);
    const UINT choice = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, nullptr));
    // A menu opened for a notification icon needs its owner to handle one more
    // message after it closes, or the next right click's menu may close at once.
    PostMessageA(hwnd, WM_NULL, 0, 0);
    return choice;
}

UINT ClockWindow::showScheduleListMenu(UINT selectedCount) {
    HMENU popup = GetSubMenu(hMenu, POPUP_SCHEDULE_LIST);
    if (!popup) return 0;
    POINT cursor;
    GetCursorPos(&cursor);
    setItemState(popup, CMD_LIST_DELETE, 0);
    if (selectedCount == 1) {
        setItemState(popup, CMD_LIST_DETAILS, 0);
        SetMenuDefaultItem(popup, CMD_LIST_DETAILS, FALSE);
    } else {
        setItemState(popup, CMD_LIST_DETAILS, MFS_GRAYED);
    }
    return static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, cursor.x,
                                            cursor.y, 0, hwnd, nullptr));
}

void ClockWindow::onMeasureItem(WPARAM, LPARAM lParam) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) return;
    item->itemWidth = scaled(9);
    const UINT rowHeight = static_cast<UINT>(scaled(20));
    if (item->itemHeight < rowHeight) item->itemHeight = rowHeight;
}

void ClockWindow::onDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) return;
    const int top = (item->rcItem.bottom - item->rcItem.top - scaled(14)) / 2;
    COLORREF background = CLR_NONE;
    UINT style = ILD_TRANSPARENT;
    if (item->itemState & ODS_CHECKED) {
        const COLORREF frame = GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF fill = checkedFrameFill(frame, GetSysColor(COLOR_MENU), (item->itemState & ODS_SELECTED) != 0);
        HPEN pen = CreatePen(PS_SOLID, 1, frame);
        HBRUSH brush = CreateSolidBrush(fill);
        if (pen && brush) {
            HGDIOBJ oldPen = SelectObject(item->hDC, pen);
            HGDIOBJ oldBrush = SelectObject(item->hDC, brush);
            RoundRect(item->hDC, 0, scaled(1), scaled(20), item->rcItem.bottom, scaled(4), scaled(4));
            SelectObject(item->hDC, oldBrush);
            SelectObject(item->hDC, oldPen);
        }
        if (brush) DeleteObject(brush);
        if (pen) DeleteObject(pen);
        background = fill;
        style = ILD_NORMAL;
    }
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(hImageList, &width, &height);
    ImageList_DrawEx(hImageList, static_cast<int>(item->itemData), item->hDC, scaled(2), top, width, height, background,
                     CLR_NONE, style);
}
