#include "face/FaceStyle.h"

#include "settings/Flags.h"
#include "util/DpiScale.h"

bool isDarkColor(COLORREF color) {
    const int weighted = 2 * GetRValue(color) + 4 * GetGValue(color) + GetBValue(color);
    return weighted <= 896;
}

FaceStyle chooseFaceStyle(uint32_t flags, COLORREF fontColor, COLORREF backColor) {
    FaceStyle style;
    if (flags & FLAG_CUSTOM_FONT) {
        style.textColor = fontColor;
    } else {
        style.textColor = isDarkColor(backColor) ? TEXT_COLOR_ON_DARK : TEXT_COLOR_ON_LIGHT;
    }
    style.edgeColor = isDarkColor(style.textColor) ? SHADOW_COLOR_ON_DARK : SHADOW_COLOR_ON_LIGHT;
    // Text only is shadow clear with no outline; shadow adds the one pass; any
    // other combination is the outline, which draws the shadow pass as well.
    style.ringPass = (flags & FLAG_NO_OUTLINE) == 0;
    style.shadowPass = style.ringPass || (flags & FLAG_SHADOW) != 0;
    return style;
}

LayeredMode chooseLayeredMode(uint32_t flags) {
    return LayeredMode{(flags & FLAG_OPAQUE_BACKGROUND) == 0, (flags & FLAG_TRANSLUCENT) != 0};
}

int faceEdgeWidth(int dpi) {
    const int width = scaleToDpi(1, dpi);
    return width > 1 ? width : 1;
}

FaceSpan faceSpan(int offset, int edge) {
    if (offset <= 0) return FaceSpan{0, edge - 1};
    if (offset == 1) return FaceSpan{edge, edge};
    return FaceSpan{edge + 1, 2 * edge};
}
