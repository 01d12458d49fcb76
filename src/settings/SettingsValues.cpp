#include "settings/SettingsValues.h"

#include <cstring>

#include "settings/Flags.h"

static_assert(sizeof(LOGFONTA::lfFaceName) == LFBIN_FACE_NAME_SIZE, "face name size");

namespace {

// The eight byte fields of LOGFONTA, in the order LFBIN stores them.
BYTE LOGFONTA::*const FONT_BYTE_FIELDS[LFBIN_SIZE - LFBIN_FACE_NAME_SIZE] = {
    &LOGFONTA::lfItalic,       &LOGFONTA::lfUnderline,     &LOGFONTA::lfStrikeOut, &LOGFONTA::lfCharSet,
    &LOGFONTA::lfOutPrecision, &LOGFONTA::lfClipPrecision, &LOGFONTA::lfQuality,   &LOGFONTA::lfPitchAndFamily};

uint16_t highHalf(uint32_t value) { return static_cast<uint16_t>(value >> 16); }
uint16_t lowHalf(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }
uint32_t joinHalves(uint16_t high, uint16_t low) { return (static_cast<uint32_t>(high) << 16) | low; }

}  // namespace

void encodeFontBinary(const LOGFONTA& font, uint8_t (&bytes)[LFBIN_SIZE]) {
    std::memcpy(bytes, font.lfFaceName, LFBIN_FACE_NAME_SIZE);
    for (size_t i = 0; i < LFBIN_SIZE - LFBIN_FACE_NAME_SIZE; ++i)
        bytes[LFBIN_FACE_NAME_SIZE + i] = font.*FONT_BYTE_FIELDS[i];
}

void decodeFontBinary(const uint8_t (&bytes)[LFBIN_SIZE], LOGFONTA& font) {
    std::memcpy(font.lfFaceName, bytes, LFBIN_FACE_NAME_SIZE);
    font.lfFaceName[LFBIN_FACE_NAME_SIZE - 1] = '\0';
    for (size_t i = 0; i < LFBIN_SIZE - LFBIN_FACE_NAME_SIZE; ++i)
        font.*FONT_BYTE_FIELDS[i] = bytes[LFBIN_FACE_NAME_SIZE + i];
}

uint32_t encodePosition(int16_t position) { return static_cast<uint32_t>(static_cast<int32_t>(position)); }

int16_t decodePosition(uint32_t stored) { return static_cast<int16_t>(lowHalf(stored)); }

uint32_t mergeStoredFlags(uint32_t current, uint32_t stored) {
    return (current & ~SETTINGS_PERSISTED_MASK) | (stored & SETTINGS_PERSISTED_MASK);
}

void encodeLastCheck(const SYSTEMTIME& time, uint32_t& yearMonth, uint32_t& dayHour) {
    yearMonth = joinHalves(time.wYear, time.wMonth);
    dayHour = joinHalves(time.wDay, time.wHour);
}

void decodeLastCheck(uint32_t yearMonth, uint32_t dayHour, SYSTEMTIME& time) {
    time.wYear = highHalf(yearMonth);
    time.wMonth = lowHalf(yearMonth);
    time.wDay = highHalf(dayHour);
    time.wHour = lowHalf(dayHour);
    time.wMinute = 0;
}
