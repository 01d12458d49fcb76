// The face on the screen: painting the line of text with its shadow or outline,
// sizing the window to the text, and the layered-window transparency.
#include "app/ClockWindow.h"
#include "app/Placement.h"
#include "app/Snap.h"
#include "face/FaceStyle.h"
#include "settings/Flags.h"

namespace {

// One pass of the 100 % face at `offset`: at a larger scale, every position of
// the band that offset stands for.
void drawTextAt(HDC dc, FaceOffset offset, int edge, const char* text, int length) {
    const FaceSpan across = faceSpan(offset.x, edge);
    const FaceSpan down = faceSpan(offset.y, edge);
    for (int y = down.first; y <= down.last; ++y) {
        for (int x = across.first; x <= across.last; ++x) TextOutA(dc, x, y, text, length);
    }
}

// A window placed where no monitor shows it (say, a monitor since unplugged)
// could be neither seen nor dragged back; such a rectangle is moved onto the
// work area of the monitor nearest to it.
void keepOnSomeMonitor(RECT& rect) {
    if (monitorOf(rect, MONITOR_DEFAULTTONULL)) return;
    RECT workArea;
    if (readWorkArea(rect, workArea)) moveRectIntoArea(rect, workArea);
}

}  // namespace

// Draws the face on `dc`, whose font is the face's.
void ClockWindow::drawFace(HDC dc) const {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, backColor);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &faceRect, nullptr, 0, nullptr);
    const FaceStyle style = chooseFaceStyle(flags, fontColor, backColor);
    const int edge = faceEdgeWidth(dpi);
    if (style.shadowPass) {
        SetTextColor(dc, style.edgeColor);
        // The shadow is drawn on its own cell of background colour; the
        // passes after it are drawn transparently over it.
        drawTextAt(dc, SHADOW_OFFSET, edge, displayText, textLength);
        SetBkMode(dc, TRANSPARENT);
    }
    if (style.ringPass) {
        for (const FaceOffset& offset : RING_OFFSETS) drawTextAt(dc, offset, edge, displayText, textLength);
    }
    SetTextColor(dc, style.textColor);
    drawTextAt(dc, MAIN_TEXT_OFFSET, edge, displayText, textLength);
}

void ClockWindow::putFace(HDC screen) {
    // Drawn off-screen and copied, so that no font is selected in the window's
    // context (and nothing flickers between the background and the text).
    const int width = faceRect.right - faceRect.left;
    const int height = faceRect.bottom - faceRect.top;
    HDC canvas = faceCanvas.withBitmap(faceFont(), screen, width, height);
    if (canvas) {
        drawFace(canvas);
        BitBlt(screen, faceRect.left, faceRect.top, width, height, canvas, faceRect.left, faceRect.top, SRCCOPY);
    } else {
        SetBkColor(screen, backColor);
        ExtTextOutA(screen, 0, 0, ETO_OPAQUE, &faceRect, nullptr, 0, nullptr);
    }
}

int ClockWindow::paintFace() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(hwnd, &ps);
    if (!screen) return 0;
    putFace(screen);
    return EndPaint(hwnd, &ps);
}

void ClockWindow::showNewFace() {
    // Put on the screen at once through the window's own context: invalidating
    // the window would cost Wine a paint cycle of round trips to its server
    // every second.
    HDC screen = GetDC(hwnd);
    if (!screen) {
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    putFace(screen);
    ReleaseDC(hwnd, screen);
}

bool ClockWindow::measureFace() {
    HDC dc = faceCanvas.withFont(faceFont());
    if (!dc) return false;
    SIZE extent;
    if (!GetTextExtentPoint32A(dc, displayText, textLength, &extent)) return false;
    // A band of margin on every side (a pixel at 100 %) leaves room for the
    // shadow and outline.
    const int margin = 2 * faceEdgeWidth(dpi);
    SetRect(&faceRect, 0, 0, extent.cx + margin, extent.cy + margin);
    return true;
}

void ClockWindow::applyLayering() {
    const LayeredMode mode = chooseLayeredMode(flags);
    const DWORD attributes = (mode.translucent ? LWA_ALPHA : 0) | (mode.colorKey ? LWA_COLORKEY : 0);
    // The clock always carries WS_EX_TOOLWINDOW, so a zero style is a failed read.
    const LONG style = GetWindowLongA(hwnd, GWL_EXSTYLE);
    if (attributes) {
        if (style) SetWindowLongA(hwnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd, backColor, LAYERED_ALPHA, attributes);
    } else if (style) {
        SetWindowLongA(hwnd, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
    }
}

void ClockWindow::reloadDefaultFont() {
    if (flags & FLAG_CUSTOM_FONT) return;
    // Kept as at 100 %, like a stored font; faceFont() sizes it for the dpi.
    readIconTitleFont(logFont, BASE_DPI);
}

void ClockWindow::refitFace() {
    reloadDefaultFont();
    // The face is measured with the text it shows: at start it has none yet, and a
    // window of 2 pixels partly off the screen would be judged lost on no monitor.
    formatTime();
    measureFace();
    backColor = GetSysColor(COLOR_BACKGROUND);
    RECT rect{posX, posY, posX + faceRect.right - faceRect.left, posY + faceRect.bottom - faceRect.top};
    keepOnSomeMonitor(rect);
    // The corrected corner stays in memory; the registry keeps the saved one
    // until the user saves the position.
    posX = static_cast<int16_t>(rect.left);
    posY = static_cast<int16_t>(rect.top);
    MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    applyLayering();
}

void ClockWindow::refreshFaceText() {
    formatTime();
    measureFace();
    resizeWindow(faceRect.right - faceRect.left, faceRect.bottom - faceRect.top);
}
