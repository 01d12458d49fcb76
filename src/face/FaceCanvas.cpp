#include "face/FaceCanvas.h"

#include <cstring>

FaceCanvas::~FaceCanvas() { release(); }

HDC FaceCanvas::withFont(const LOGFONTA& shape) {
    if (!dc) {
        // A context of the screen measures and draws as the window's own would.
        dc = CreateCompatibleDC(nullptr);
        if (!dc) return nullptr;
    }
    if (font && std::memcmp(&shape, &fontShape, sizeof shape) == 0) return dc;
    HFONT made = CreateFontIndirectA(&shape);
    if (!made) return nullptr;
    HGDIOBJ previous = SelectObject(dc, made);
    if (!originalFont) originalFont = previous;
    if (font) DeleteObject(font);
    font = made;
    fontShape = shape;
    return dc;
}

HDC FaceCanvas::withBitmap(const LOGFONTA& shape, HDC screen, int width, int height) {
    if (!withFont(shape) || width <= 0 || height <= 0) return nullptr;
    if (bitmap && width <= bitmapWidth && height <= bitmapHeight) return dc;
    // Grown only: a face that changes width every few seconds keeps one bitmap.
    HBITMAP made = CreateCompatibleBitmap(screen, width, height);
    if (!made) return nullptr;
    HGDIOBJ previous = SelectObject(dc, made);
    if (!originalBitmap) originalBitmap = previous;
    if (bitmap) DeleteObject(bitmap);
    bitmap = made;
    bitmapWidth = width;
    bitmapHeight = height;
    return dc;
}

void FaceCanvas::release() {
    if (!dc) return;
    if (originalFont) SelectObject(dc, originalFont);
    if (originalBitmap) SelectObject(dc, originalBitmap);
    if (font) DeleteObject(font);
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    dc = nullptr;
    font = nullptr;
    bitmap = nullptr;
    originalFont = originalBitmap = nullptr;
    bitmapWidth = bitmapHeight = 0;
}
