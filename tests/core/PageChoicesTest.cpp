#include <gtest/gtest.h>

#include "settings/Flags.h"
#include "settings/PageChoices.h"
#include "settings/VersionLine.h"

namespace {

TEST(PageChoices, ApplyingThePagesAsShownKeepsEveryFlagsWord) {
    // Every persisted bit combination the pages can show, plus bits they do not own.
    for (uint32_t flags = 0; flags <= SETTINGS_PERSISTED_MASK; flags += 0x1D2) {
        const uint32_t word = flags | FLAG_DRAGGING | FLAG_POSITION_LOCKED | 0x80000u;
        // The shadow bit next to an outline, and a hidden menu that is not also
        // the short one, cannot be shown on the pages: the lists show an outline
        // and no menu. Apart from them the word comes back.
        const uint32_t display = (word & FLAG_NO_OUTLINE) ? word : (word & ~FLAG_SHADOW);
        const uint32_t other = (word & FLAG_MENU_HIDDEN) ? (word | FLAG_MENU_SIMPLE) : word;
        EXPECT_EQ(withDisplayChoices(word, displayChoicesOf(word)), display) << std::hex << word;
        EXPECT_EQ(withOtherChoices(word, otherChoicesOf(word)), other) << std::hex << word;
    }
}

TEST(PageChoices, ListIndexesSetTheirBitsAndNoSelectionLeavesThem) {
    DisplayChoices c = displayChoicesOf(FLAGS_DEFAULT);
    const uint32_t effects[] = {FLAG_NO_OUTLINE, FLAG_SHADOW | FLAG_NO_OUTLINE, 0};
    for (int32_t i = 0; i < 3; ++i) {
        c.effect = i;
        c.dateForm = i;
        const uint32_t flags = withDisplayChoices(FLAG_SHADOW | FLAG_DATE_FORM_MASK, c);
        EXPECT_EQ(flags & (FLAG_SHADOW | FLAG_NO_OUTLINE), effects[i]);
        EXPECT_EQ(flags & FLAG_DATE_FORM_MASK, static_cast<uint32_t>(i) << 10);
    }
    c.effect = c.dateForm = -1;
    EXPECT_EQ(withDisplayChoices(FLAG_SHADOW | FLAG_DATE_FORM_MASK, c), FLAG_SHADOW | FLAG_DATE_FORM_MASK);

    const uint32_t menus[] = {0, FLAG_MENU_SIMPLE, FLAG_MENU_SIMPLE | FLAG_MENU_HIDDEN};
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(withOtherChoices(FLAG_MENU_HIDDEN, {false, false, i}), menus[i]);
    EXPECT_EQ(withOtherChoices(FLAG_MENU_HIDDEN, {true, true, -1}), FLAG_MENU_HIDDEN | FLAG_SNAP_TO_EDGES | FLAG_TOPMOST);
}

TEST(PageChoices, EraIsKeptWithoutTheLocalCalendarAndSecondsAreLeftToTheClock) {
    DisplayChoices c = displayChoicesOf(FLAG_LOCAL_CALENDAR | FLAG_SHOW_ERA);
    c.localCalendar = false;
    c.showSeconds = true;
    const uint32_t flags = withDisplayChoices(FLAG_LOCAL_CALENDAR | FLAG_SHOW_ERA, c);
    EXPECT_EQ(flags & (FLAG_LOCAL_CALENDAR | FLAG_SHOW_ERA | FLAG_SHOW_SECONDS), FLAG_SHOW_ERA);
}

TEST(VersionLine, ShowsProductVersionAndFourDigitBuild) {
    char line[64];
    formatVersionLine(line, sizeof line, (2u << 16) | 3u, (0u << 16) | 45u);
    EXPECT_STREQ(line, "Version 2.3.0  Build 0045");
    formatVersionLine(line, sizeof line, 0xFFFFFFFFu, (7u << 16) | 12345u);
    EXPECT_STREQ(line, "Version 65535.65535.7  Build 12345");
    formatVersionLine(line, sizeof line, 0, 0);
    EXPECT_STREQ(line, "Version 0.0.0  Build 0000");
}

}  // namespace
