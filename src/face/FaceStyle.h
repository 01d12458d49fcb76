// How the face is drawn for a given Flags word and pair of colours: the text
// colour, the grey of the shadow and outline, which passes run, where each pass
// puts the text, and which layered attributes the window gets.
#pragma once

#include <cstdint>

#include "util/Platform.h"

constexpr COLORREF TEXT_COLOR_ON_DARK = RGB(255, 255, 255);
constexpr COLORREF TEXT_COLOR_ON_LIGHT = RGB(0, 0, 0);
constexpr COLORREF SHADOW_COLOR_ON_DARK = RGB(205, 205, 205);
constexpr COLORREF SHADOW_COLOR_ON_LIGHT = RGB(50, 50, 50);
// Opacity of the whole window when it is translucent, out of 255.
constexpr BYTE LAYERED_ALPHA = 180;

struct FaceOffset {
    int x;
    int y;
};

// Offsets from the face's top-left corner. The shadow and the ring together are
// the eight neighbours of the main text, so the outline is one pixel all round.
constexpr FaceOffset MAIN_TEXT_OFFSET{1, 1};
constexpr FaceOffset SHADOW_OFFSET{2, 2};
constexpr FaceOffset RING_OFFSETS[7] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}};

// The width of the margin's bands, the outline and the shadow at a dpi: one
// pixel at 100 %, and in proportion (whole pixels, at least one) elsewhere.
int faceEdgeWidth(int dpi);

// The positions, on one axis, that a pass with this offset of the 100 % face
// (0, 1 or 2) covers when the edges are `edge` pixels wide: the main text at
// `edge`, the bands before and after it `edge` pixels each. So at any scale
// the face is the 100 % face enlarged, and the outline stays closed.
struct FaceSpan {
    int first;
    int last;
};
FaceSpan faceSpan(int offset, int edge);

// Weighted brightness 2R + 4G + B of at most 896 (of 1785) counts as dark.
bool isDarkColor(COLORREF color);

struct FaceStyle {
    COLORREF textColor;
    COLORREF edgeColor;  // shadow and ring
    bool shadowPass;
    bool ringPass;
};

// The custom colour with FLAG_CUSTOM_FONT, otherwise white on a dark background
// and black on a light one; the edges take the grey that contrasts with the text.
FaceStyle chooseFaceStyle(uint32_t flags, COLORREF fontColor, COLORREF backColor);

struct LayeredMode {
    bool colorKey;     // the background colour is keyed out
    bool translucent;  // the whole window at LAYERED_ALPHA
};

LayeredMode chooseLayeredMode(uint32_t flags);
