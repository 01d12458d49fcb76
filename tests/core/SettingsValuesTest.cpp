#include <gtest/gtest.h>

#include <cstring>

#include "settings/Flags.h"
#include "settings/SettingsValues.h"

namespace {

TEST(SettingsValues, PositionsAreSignExtendedAndLoadAsTheirLow16Bits) {
    EXPECT_EQ(encodePosition(-20), 0xFFFFFFECu);
    EXPECT_EQ(decodePosition(0xFFFFFFECu), -20);
    EXPECT_EQ(decodePosition(65535), -1);
    EXPECT_EQ(decodePosition(32767), 32767);
    EXPECT_EQ(decodePosition(32768), -32768);
    EXPECT_EQ(decodePosition(0x12340064u), 100);  // high half dropped
    EXPECT_EQ(encodePosition(INT16_MIN), 0xFFFF8000u);
}

TEST(SettingsValues, StoredFlagsReplaceOnlyBits1To18) {
    EXPECT_EQ(SETTINGS_PERSISTED_MASK, 0x7FFFEu);
    EXPECT_EQ(mergeStoredFlags(FLAGS_DEFAULT, 0xFFFFFFFFu), SETTINGS_PERSISTED_MASK);
    EXPECT_EQ(mergeStoredFlags(FLAG_DRAGGING | 0x80000u | FLAG_TOPMOST, 0), FLAG_DRAGGING | 0x80000u);
    EXPECT_EQ(mergeStoredFlags(0xFFF80001u, FLAG_SHADOW | FLAG_SHOW_SECONDS), 0xFFF80001u | FLAG_SHADOW | FLAG_SHOW_SECONDS);
}

LOGFONTA sampleFont() {
    LOGFONTA font{};
    font.lfHeight = -12;
    std::strcpy(font.lfFaceName, "ＭＳ ゴシック");
    font.lfItalic = 1;
    font.lfUnderline = 2;
    font.lfStrikeOut = 3;
    font.lfCharSet = 128;
    font.lfOutPrecision = 5;
    font.lfClipPrecision = 6;
    font.lfQuality = 7;
    font.lfPitchAndFamily = 0x31;
    return font;
}

TEST(SettingsValues, FontBinaryHoldsTheNameFirstThenTheByteFields) {
    const LOGFONTA font = sampleFont();
    uint8_t bytes[LFBIN_SIZE];
    std::memset(bytes, 0xAA, sizeof bytes);
    encodeFontBinary(font, bytes);
    EXPECT_EQ(std::memcmp(bytes, font.lfFaceName, LFBIN_FACE_NAME_SIZE), 0);
    const uint8_t byteFields[8] = {1, 2, 3, 128, 5, 6, 7, 0x31};
    EXPECT_EQ(std::memcmp(bytes + 32, byteFields, 8), 0);

    LOGFONTA loaded{};
    loaded.lfHeight = 99;
    decodeFontBinary(bytes, loaded);
    EXPECT_STREQ(loaded.lfFaceName, font.lfFaceName);
    EXPECT_EQ(std::memcmp(&loaded.lfItalic, &font.lfItalic, 8), 0);
    EXPECT_EQ(loaded.lfHeight, 99);  // only the face name and byte fields come from LFBIN
}

TEST(SettingsValues, FontNameWithoutNulIsCutAtItsLastByte) {
    uint8_t bytes[LFBIN_SIZE];
    std::memset(bytes, 'A', sizeof bytes);
    LOGFONTA loaded{};
    decodeFontBinary(bytes, loaded);
    EXPECT_EQ(std::strlen(loaded.lfFaceName), LFBIN_FACE_NAME_SIZE - 1);
    EXPECT_EQ(loaded.lfPitchAndFamily, 'A');
}

TEST(SettingsValues, LastCheckKeepsYearMonthDayHourAndClearsTheMinute) {
    SYSTEMTIME saved{};
    saved.wYear = 2010;
    saved.wMonth = 4;
    saved.wDay = 30;
    saved.wHour = 23;
    saved.wMinute = 59;
    uint32_t yearMonth = 0, dayHour = 0;
    encodeLastCheck(saved, yearMonth, dayHour);
    EXPECT_EQ(yearMonth, (2010u << 16) | 4u);
    EXPECT_EQ(dayHour, (30u << 16) | 23u);

    SYSTEMTIME loaded{};
    loaded.wSecond = 42;
    loaded.wMinute = 17;
    decodeLastCheck(yearMonth, dayHour, loaded);
    EXPECT_EQ(loaded.wYear, 2010);
    EXPECT_EQ(loaded.wMonth, 4);
    EXPECT_EQ(loaded.wDay, 30);
    EXPECT_EQ(loaded.wHour, 23);
    EXPECT_EQ(loaded.wMinute, 0);
    EXPECT_EQ(loaded.wSecond, 42);  // left as it was
}

}  // namespace
