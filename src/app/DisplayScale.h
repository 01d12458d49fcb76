// The display scale as Windows reports it. The per-dpi calls exist only from
// Windows 10 1607; they are looked up at run time so that the program still
// starts on older systems, where the screen's one dpi is used instead.
#pragma once

#include <windows.h>

// The dpi of the screen as a whole, the one GDI's screen contexts and the
// common dialogs size things for.
int screenDpi();
// The dpi the window is shown at (the screen's when the window has none).
int dpiOfWindow(HWND window);
// The icon-title font with its size as it is at `dpi`.
void readIconTitleFont(LOGFONTA& font, int dpi);
// The side of a small icon, the notification area's picture, at `dpi`.
int smallIconSize(int dpi);
// A font whose size is given at 96 dpi, sized for `dpi`; and back.
LOGFONTA fontToDpi(const LOGFONTA& font, int dpi);
LOGFONTA fontFromDpi(const LOGFONTA& font, int dpi);
