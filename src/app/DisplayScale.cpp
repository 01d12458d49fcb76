#include "app/DisplayScale.h"

#include "util/DpiScale.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiCall = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);

// A function of user32 by name, or null on a system that lacks it.
template <typename Call>
Call user32Call(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    // Through the generic function type, which any function pointer converts to.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

LONG rescale(LONG pixels, int fromDpi, int toDpi) { return MulDiv(pixels, toDpi, fromDpi); }

// The font with its height and width passed through `scale`, the rest kept.
LOGFONTA resized(const LOGFONTA& font, int (*scale)(int, int), int dpi) {
    LOGFONTA sized = font;
    sized.lfHeight = scale(font.lfHeight, dpi);
    sized.lfWidth = scale(font.lfWidth, dpi);
    return sized;
}

}  // namespace

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : BASE_DPI;
}

int dpiOfWindow(HWND window) {
    static const auto getDpiForWindow = user32Call<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = (getDpiForWindow && window) ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : screenDpi();
}

void readIconTitleFont(LOGFONTA& font, int dpi) {
    // The face name and the other fields come from the ANSI call, as always;
    // only the size depends on the dpi.
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
    const int systemDpi = screenDpi();
    if (dpi == systemDpi) return;
    static const auto forDpi = user32Call<SystemParametersInfoForDpiCall>("SystemParametersInfoForDpi");
    LOGFONTW wide = {};
    if (forDpi && forDpi(SPI_GETICONTITLELOGFONT, sizeof wide, &wide, 0, static_cast<UINT>(dpi))) {
        font.lfHeight = wide.lfHeight;
        font.lfWidth = wide.lfWidth;
    } else {
        font.lfHeight = rescale(font.lfHeight, systemDpi, dpi);
        font.lfWidth = rescale(font.lfWidth, systemDpi, dpi);
    }
}

int smallIconSize(int dpi) {
    static const auto metricForDpi = user32Call<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    if (metricForDpi) {
        const int size = metricForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
        if (size > 0) return size;
    }
    return rescale(GetSystemMetrics(SM_CXSMICON), screenDpi(), dpi);
}

LOGFONTA fontToDpi(const LOGFONTA& font, int dpi) { return resized(font, scaleToDpi, dpi); }

LOGFONTA fontFromDpi(const LOGFONTA& font, int dpi) { return resized(font, scaleFromDpi, dpi); }
