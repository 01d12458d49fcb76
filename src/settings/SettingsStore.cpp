// The clock's settings in the registry key of the current user. Nothing is
// written until the first save, so a missing key means the construction values.
#include "app/ClockWindow.h"
#include "settings/Flags.h"
#include "settings/Registry.h"
#include "settings/SettingsValues.h"

namespace {

const char SETTINGS_KEY[] = "Software\\Velmora\\Quillet";

// The five 32-bit fields of LOGFONTA and their values, in load and save order.
struct FontDwordValue {
    const char* name;
    LONG LOGFONTA::*field;
};

const FontDwordValue FONT_DWORD_VALUES[] = {{"LFHEIGHT", &LOGFONTA::lfHeight},
                                            {"LFWIDTH", &LOGFONTA::lfWidth},
                                            {"LFESCAPEMENT", &LOGFONTA::lfEscapement},
                                            {"LFORIENTATION", &LOGFONTA::lfOrientation},
                                            {"LFWEIGHT", &LOGFONTA::lfWeight}};

const uint32_t DEFAULT_FONT_COLOR = RGB(255, 255, 255);

// The icon-title font with the stored fields laid over it; a face name and byte
// fields that cannot be read (missing, or more than LFBIN_SIZE bytes) keep the
// icon-title values, a shorter LFBIN reads as zero where it has no bytes.
// Sizes are stored as they are at 96 dpi, whatever the scale of the display.
void loadFont(HKEY key, LOGFONTA& font) {
    readIconTitleFont(font, BASE_DPI);
    for (const FontDwordValue& value : FONT_DWORD_VALUES)
        font.*value.field = static_cast<LONG>(regReadDword(key, value.name, static_cast<uint32_t>(font.*value.field)));
    uint8_t bytes[LFBIN_SIZE] = {};
    DWORD length = sizeof bytes;
    if (regReadBinary(key, "LFBIN", bytes, &length)) decodeFontBinary(bytes, font);
}

bool saveFont(HKEY key, const LOGFONTA& font) {
    bool written = true;
    for (const FontDwordValue& value : FONT_DWORD_VALUES)
        written &= regWriteDword(key, value.name, static_cast<uint32_t>(font.*value.field));
    uint8_t bytes[LFBIN_SIZE];
    encodeFontBinary(font, bytes);
    written &= regWriteBinary(key, "LFBIN", bytes, sizeof bytes);
    return written;
}

}  // namespace

bool ClockWindow::loadSettings() {
    HKEY key = regOpenForRead(SETTINGS_KEY);
    if (!key) return false;
    posX = decodePosition(regReadDword(key, "PosX", 0));
    posY = decodePosition(regReadDword(key, "PosY", 0));
    flags = mergeStoredFlags(flags, regReadDword(key, "Flags", flags & SETTINGS_PERSISTED_MASK));
    fontColor = regReadDword(key, "FontColor", DEFAULT_FONT_COLOR);
    loadFont(key, logFont);
    regClose(key);
    return true;
}

// Every value is attempted; the result is false when the key cannot be created
// or any value could not be written.
bool ClockWindow::saveSettings() {
    HKEY key = regOpenForWrite(SETTINGS_KEY);
    if (!key) return false;
    bool written = regWriteDword(key, "Flags", flags & SETTINGS_PERSISTED_MASK);
    written &= regWriteDword(key, "FontColor", fontColor);
    written &= saveFont(key, logFont);
    regClose(key);
    return written;
}

bool ClockWindow::savePosition() {
    HKEY key = regOpenForWrite(SETTINGS_KEY);
    if (!key) return false;
    bool written = regWriteDword(key, "PosX", encodePosition(posX));
    written &= regWriteDword(key, "PosY", encodePosition(posY));
    regClose(key);
    return written;
}

bool ClockWindow::loadLastCheck() {
    HKEY key = regOpenForRead(SETTINGS_KEY);
    if (!key) return false;
    const uint32_t yearMonth = regReadDword(key, "LastYM", 0);
    const uint32_t dayHour = regReadDword(key, "LastDH", 0);
    decodeLastCheck(yearMonth, dayHour, lastWatchTime);
    regClose(key);
    return true;
}

bool ClockWindow::saveLastCheck() {
    HKEY key = regOpenForWrite(SETTINGS_KEY);
    if (!key) return false;
    uint32_t yearMonth = 0;
    uint32_t dayHour = 0;
    encodeLastCheck(lastWatchTime, yearMonth, dayHour);
    bool written = regWriteDword(key, "LastYM", yearMonth);
    written &= regWriteDword(key, "LastDH", dayHour);
    regClose(key);
    return written;
}
