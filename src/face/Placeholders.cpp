// Least bodies that let the clock run until the face is built: the face text in
// the default GUI font, black on the window's background.
#include "app/ClockWindow.h"

void ClockWindow::paintFace() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 1, 1, displayText, textLength);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

bool ClockWindow::measureFace() {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, displayText, textLength, &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    SetRect(&faceRect, 0, 0, size.cx + 2, size.cy + 2);
    return true;
}

bool ClockWindow::refitFace() { return true; }
