#include <gtest/gtest.h>

#include "settings/Flags.h"
#include "settings/PageChoices.h"
#include "settings/VersionLine.h"

namespace {

TEST(PageChoices, ApplyingThePagesAsShownKeepsTheFlagsWord) {
    for (uint32_t flags = 0; flags <= SETTINGS_PERSISTED_MASK; flags += 0x1D2) {
        const uint32_t word = flags | FLAG_DRAGGING | 0x80000u;  // bits the pages do not own
        // Except what no list entry writes: the shadow bit next to an outline
        // (shown as an outline), and a hidden menu that is not also the short one.
        const uint32_t display = (word & FLAG_NO_OUTLINE) ? word : (word & ~FLAG_SHADOW);
        const uint32_t other = (word & FLAG_MENU_HIDDEN) ? (word | FLAG_MENU_SIMPLE) : word;
        EXPECT_EQ(withDisplayChoices(word, displayChoicesOf(word)), display) << std::hex << word;
        EXPECT_EQ(withOtherChoices(word, otherChoicesOf(word)), other) << std::hex << word;
    }
    // Seconds are switched by the clock together with its timer, never here.
    EXPECT_EQ(withDisplayChoices(0, displayChoicesOf(FLAG_SHOW_SECONDS)) & FLAG_SHOW_SECONDS, 0u);
}

TEST(VersionLine, ShowsProductVersionAndFourDigitBuild) {
    char line[64];
    formatVersionLine(line, sizeof line, (2u << 16) | 3u, 45u);
    EXPECT_STREQ(line, "Version 2.3.0  Build 0045");
    formatVersionLine(line, sizeof line, 0, 0);
    EXPECT_STREQ(line, "Version 0.0.0  Build 0000");
}

}  // namespace
