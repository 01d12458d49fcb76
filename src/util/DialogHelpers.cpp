#include "util/DialogHelpers.h"

#include "util/TextBuffer.h"

#include <cstring>

BOOL enableDlgItem(HWND dialog, int controlId, BOOL enable) {
    HWND control = GetDlgItem(dialog, controlId);
    return control ? EnableWindow(control, enable) : 0;
}

BOOL showDlgItem(HWND dialog, int controlId, BOOL show) {
    HWND control = GetDlgItem(dialog, controlId);
    return control ? ShowWindow(control, show ? SW_SHOW : SW_HIDE) : 0;
}

int getDlgItemTextLength(HWND dialog, int controlId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, controlId, WM_GETTEXTLENGTH, 0, 0));
}

bool getComboSel(HWND dialog, int controlId, uint32_t* index) {
    const LRESULT selection = SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
    if (selection == CB_ERR) return false;
    *index = static_cast<uint32_t>(selection);
    return true;
}

bool fillComboFromList(HWND dialog, int controlId, const char* packed, uint32_t count, uint32_t selection) {
    HWND combo = GetDlgItem(dialog, controlId);
    if (!combo || !packed) return false;
    const char* item = packed;
    for (uint32_t i = 0; i < count; ++i) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        const void* end = memchr(item, '\0', 512);
        if (!end) return false;
        item = static_cast<const char*>(end) + 1;
    }
    const WPARAM shown = count == 0 ? static_cast<WPARAM>(-1) : (selection < count ? selection : count - 1);
    SendMessageA(combo, CB_SETCURSEL, shown, 0);
    return true;
}

bool fillComboFromStrings(HWND dialog, int controlId, const UINT* stringIds, uint32_t count, uint32_t selection) {
    HWND combo = GetDlgItem(dialog, controlId);
    if (!combo || !stringIds) return false;
    TextBuffer text;
    for (uint32_t i = 0; i < count; ++i) {
        if (!text.loadString(stringIds[i])) return false;
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageA(combo, CB_SETCURSEL, selection, 0);
    return true;
}
