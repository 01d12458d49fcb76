// Pixel sizes for a display scale. The program's sizes are designed for 96 dpi
// (100 %); at any other dpi they grow or shrink in proportion.
#pragma once

constexpr int BASE_DPI = 96;

// A size in pixels at 96 dpi, in pixels at `dpi`, rounded to the nearest pixel
// (halves away from zero, as MulDiv rounds). A dpi of 0 or less counts as 96.
int scaleToDpi(int pixels, int dpi);
// The reverse: pixels at `dpi` as pixels at 96 dpi.
int scaleFromDpi(int pixels, int dpi);
