#include "face/FaceCanvas.h"

#include <cstring>

namespace {

// Selects `made` in place of `current`, which is deleted. The context's own object,
// replaced first, is kept in `original` to be put back before the context goes.
template <typename Object>
void selectInPlace(HDC dc, Object made, Object& current, HGDIOBJ& original) {
    HGDIOBJ previous = SelectObject(dc, made);
    if (!original) original = previous;
    if (current) DeleteObject(current);
    current = made;
}

}  // namespace

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
    selectInPlace(dc, made, font, originalFont);
    fontShape = shape;
    return dc;
}

HDC FaceCanvas::withBitmap(const LOGFONTA& shape, HDC screen, int width, int height) {
    if (!withFont(shape) || width <= 0 || height <= 0) return nullptr;
    if (bitmap && width <= bitmapWidth && height <= bitmapHeight) return dc;
    // Grown only: a face that changes width every few seconds keeps one bitmap.
    HBITMAP made = CreateCompatibleBitmap(screen, width, height);
    if (!made) return nullptr;
    selectInPlace(dc, made, bitmap, originalBitmap);
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
