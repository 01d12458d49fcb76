#include "util/DpiScale.h"

#include <cstdint>

namespace {

int mulDivRounded(int value, int numerator, int denominator) {
    const int64_t product = static_cast<int64_t>(value) * numerator;
    const int64_t half = denominator / 2;
    const int64_t rounded = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}

int validDpi(int dpi) { return dpi > 0 ? dpi : BASE_DPI; }

}  // namespace

int scaleToDpi(int pixels, int dpi) { return mulDivRounded(pixels, validDpi(dpi), BASE_DPI); }

int scaleFromDpi(int pixels, int dpi) { return mulDivRounded(pixels, BASE_DPI, validDpi(dpi)); }
