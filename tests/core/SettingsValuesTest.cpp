#include <gtest/gtest.h>

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

}  // namespace
