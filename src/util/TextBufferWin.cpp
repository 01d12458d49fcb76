// The TextBuffer members that read from windows and resources.
#include "util/TextBuffer.h"

bool TextBuffer::readDlgItem(HWND dialog, int controlId) {
    const LRESULT length = SendDlgItemMessageA(dialog, controlId, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0 || length >= INT32_MAX - 1) return false;
    if (!reserve(static_cast<uint32_t>(length) + 1)) return false;
    const LRESULT copied = SendDlgItemMessageA(dialog, controlId, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(data));
    if (copied > 0) {
        data[copied] = '\0';
        return true;
    }
    data[0] = '\0';
    return false;
}

bool TextBuffer::loadString(UINT stringId) {
    char text[512];
    const int length = LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text);
    if (length <= 0) return false;
    return assignBytes(text, static_cast<uint32_t>(length));
}
