// The Other page: edge snapping, the topmost band and which right-click menu
// the clock shows.
#include <windows.h>

#include "app/ClockWindow.h"
#include "res/resource.h"
#include "settings/PageChoices.h"
#include "settings/SettingsPages.h"
#include "util/DialogHelpers.h"

namespace {

const char MENU_ITEMS[] = "全項目表示\0簡易表示\0非表示";

void initialize(ClockWindow& clock, HWND page) {
    const OtherChoices choices = otherChoicesOf(clock.flags);
    CheckDlgButton(page, IDC_SNAP_TO_EDGES, choices.snapToEdges ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDC_TOPMOST, choices.topmost ? BST_CHECKED : BST_UNCHECKED);
    fillComboFromList(page, IDC_MENU_CHOICE, MENU_ITEMS, 3, static_cast<uint32_t>(choices.menu));
}

void apply(ClockWindow& clock, HWND page) {
    OtherChoices choices = {};
    choices.snapToEdges = IsDlgButtonChecked(page, IDC_SNAP_TO_EDGES) == BST_CHECKED;
    choices.topmost = IsDlgButtonChecked(page, IDC_TOPMOST) == BST_CHECKED;
    choices.menu = static_cast<int32_t>(SendDlgItemMessageA(page, IDC_MENU_CHOICE, CB_GETCURSEL, 0, 0));
    clock.flags = withOtherChoices(clock.flags, choices);
    clock.applyTopmost();
    // Also puts the window back at its current position (posX, posY).
    clock.refitFace();
    InvalidateRect(clock.hwnd, nullptr, TRUE);
}

}  // namespace

INT_PTR CALLBACK otherPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const SettingsPage operations = {initialize, nullptr, apply};
    return answerSettingsPage(operations, page, message, wParam, lParam);
}
