// A memory context kept for the life of the clock, with the face's font selected
// in it and a bitmap the face is drawn on before it is copied to the window.
// Wine's display driver asks the X server for its font settings on every font
// selection; with the font kept selected, a second's change costs only the copy.
#pragma once

#include <windows.h>

class FaceCanvas {
public:
    FaceCanvas() = default;
    ~FaceCanvas();
    FaceCanvas(const FaceCanvas&) = delete;
    FaceCanvas& operator=(const FaceCanvas&) = delete;

    // The context with a font of this shape selected (made anew only when the
    // shape changes); null when it cannot be made.
    HDC withFont(const LOGFONTA& shape);
    // The same, with a bitmap compatible with `screen` of at least this size selected.
    HDC withBitmap(const LOGFONTA& shape, HDC screen, int width, int height);
    void release();

private:
    HDC dc = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ originalFont = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    LOGFONTA fontShape = {};
    int bitmapWidth = 0;
    int bitmapHeight = 0;
};
