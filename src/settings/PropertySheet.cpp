// The clock's property sheet: three pages that apply their controls to the
// settings in memory; the settings are written when the sheet closes.
#include "app/ClockWindow.h"

#include <prsht.h>

#include "res/resource.h"
#include "settings/SettingsPages.h"

namespace {

struct PageTemplate {
    int dialogId;
    DLGPROC procedure;
};

const PageTemplate PAGES[3] = {
    {IDD_DISPLAY_PAGE, displayPageProc},
    {IDD_OTHER_PAGE, otherPageProc},
    {IDD_ABOUT_PAGE, aboutPageProc},
};

// Creates the three pages; false (with none left over) when one cannot be made.
bool createPages(HINSTANCE instance, HPROPSHEETPAGE (&pages)[3]) {
    for (int i = 0; i < 3; ++i) {
        PROPSHEETPAGEA page = {};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = instance;
        page.pszTemplate = MAKEINTRESOURCEA(PAGES[i].dialogId);
        page.pfnDlgProc = PAGES[i].procedure;
        page.lParam = i;
        pages[i] = CreatePropertySheetPageA(&page);
        if (!pages[i]) {
            while (i-- > 0) DestroyPropertySheetPage(pages[i]);
            return false;
        }
    }
    return true;
}

}  // namespace

INT_PTR answerSettingsPage(const SettingsPage& settingsPage, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        settingsPage.initialize(clockWindow, page);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
        if (HIWORD(wParam) == BN_CLICKED && settingsPage.onClick) settingsPage.onClick(clockWindow, page, LOWORD(wParam));
        SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code != static_cast<UINT>(PSN_APPLY)) return FALSE;
        settingsPage.apply(clockWindow, page);
        SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    default:
        return FALSE;
    }
}

bool ClockWindow::showPropertySheet() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HPROPSHEETPAGE pages[3];
    // A sheet cannot run with a page missing; the settings are still written.
    if (createPages(instance, pages)) {
        PROPSHEETHEADERA sheet = {};
        sheet.dwSize = sizeof sheet;
        sheet.dwFlags = PSH_USEICONID | PSH_NOCONTEXTHELP;
        sheet.hwndParent = hwnd;
        sheet.hInstance = instance;
        sheet.pszIcon = MAKEINTRESOURCEA(IDI_QUILLET_SMALL);
        sheet.pszCaption = "クイレットのプロパティ";
        sheet.nPages = 3;
        sheet.nStartPage = 0;
        sheet.phpage = pages;
        PropertySheetA(&sheet);
    }
    return saveSettings();
}
