#include <gtest/gtest.h>

#include "face/FaceStyle.h"
#include "settings/Flags.h"

namespace {

constexpr uint32_t TEXT_ONLY = FLAG_NO_OUTLINE;
constexpr uint32_t SHADOW = FLAG_SHADOW | FLAG_NO_OUTLINE;
constexpr uint32_t OUTLINE = 0;
constexpr uint32_t OUTLINE_WITH_SHADOW_BIT = FLAG_SHADOW;

TEST(FaceStyle, DarknessIsTheWeightedSumAtMost896) {
    EXPECT_TRUE(isDarkColor(RGB(0, 0, 0)));
    EXPECT_FALSE(isDarkColor(RGB(255, 255, 255)));
    EXPECT_TRUE(isDarkColor(RGB(128, 128, 128)));   // 896
    EXPECT_FALSE(isDarkColor(RGB(129, 128, 128)));  // 898
    EXPECT_FALSE(isDarkColor(RGB(128, 128, 129)));  // 897
    // Green weighs four times blue: pure green 1020 is light, pure blue 255 dark.
    EXPECT_FALSE(isDarkColor(RGB(0, 255, 0)));
    EXPECT_TRUE(isDarkColor(RGB(0, 0, 255)));
    EXPECT_TRUE(isDarkColor(RGB(255, 0, 255)));  // 765
}

TEST(FaceStyle, AutomaticTextColourContrastsWithTheBackgroundAndEdgesWithTheText) {
    FaceStyle style = chooseFaceStyle(OUTLINE, RGB(1, 2, 3), RGB(0, 0, 128));
    EXPECT_EQ(TEXT_COLOR_ON_DARK, style.textColor);
    EXPECT_EQ(SHADOW_COLOR_ON_LIGHT, style.edgeColor);  // white text: dark grey edges

    style = chooseFaceStyle(OUTLINE, RGB(1, 2, 3), RGB(192, 192, 192));
    EXPECT_EQ(TEXT_COLOR_ON_LIGHT, style.textColor);
    EXPECT_EQ(SHADOW_COLOR_ON_DARK, style.edgeColor);  // black text: light grey edges
}

TEST(FaceStyle, CustomFontColourIsUsedAsStoredEvenOnTheBackgroundColour) {
    // Text in the desktop colour is keyed out with the background; its edges
    // keep the contrasting grey, so the clock stays readable.
    const COLORREF desktop = RGB(58, 110, 165);
    const FaceStyle style = chooseFaceStyle(FLAG_CUSTOM_FONT | OUTLINE, desktop, desktop);
    EXPECT_EQ(desktop, style.textColor);
    EXPECT_EQ(SHADOW_COLOR_ON_DARK, style.edgeColor);

    EXPECT_EQ(SHADOW_COLOR_ON_LIGHT, chooseFaceStyle(FLAG_CUSTOM_FONT, RGB(255, 255, 0), 0).edgeColor);
}

TEST(FaceStyle, EffectBitsSelectThePasses) {
    struct Row {
        uint32_t bits;
        bool shadowPass;
        bool ringPass;
    };
    const Row rows[] = {
        {TEXT_ONLY, false, false},
        {SHADOW, true, false},
        {OUTLINE, true, true},
        {OUTLINE_WITH_SHADOW_BIT, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bits);
        const FaceStyle style = chooseFaceStyle(row.bits, 0, 0);
        EXPECT_EQ(row.shadowPass, style.shadowPass);
        EXPECT_EQ(row.ringPass, style.ringPass);
    }
}

TEST(FaceStyle, ShadowAndRingAreTheEightNeighboursOfTheMainText) {
    bool seen[3][3] = {};
    seen[SHADOW_OFFSET.y][SHADOW_OFFSET.x] = true;
    for (const FaceOffset& offset : RING_OFFSETS) {
        ASSERT_FALSE(seen[offset.y][offset.x]);
        seen[offset.y][offset.x] = true;
    }
    EXPECT_FALSE(seen[MAIN_TEXT_OFFSET.y][MAIN_TEXT_OFFSET.x]);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (x != MAIN_TEXT_OFFSET.x || y != MAIN_TEXT_OFFSET.y) {
                EXPECT_TRUE(seen[y][x]) << x << "," << y;
            }
        }
    }
}

TEST(FaceStyle, LayeredModeFollowsTheTwoTransparencyBits) {
    LayeredMode mode = chooseLayeredMode(0);
    EXPECT_TRUE(mode.colorKey);
    EXPECT_FALSE(mode.translucent);
    mode = chooseLayeredMode(FLAG_TRANSLUCENT);
    EXPECT_TRUE(mode.colorKey);
    EXPECT_TRUE(mode.translucent);
    mode = chooseLayeredMode(FLAG_OPAQUE_BACKGROUND);
    EXPECT_FALSE(mode.colorKey);
    EXPECT_FALSE(mode.translucent);
    mode = chooseLayeredMode(FLAG_OPAQUE_BACKGROUND | FLAG_TRANSLUCENT);
    EXPECT_FALSE(mode.colorKey);
    EXPECT_TRUE(mode.translucent);
}

}  // namespace
