// The texts of a notification-area icon: the tip, and the title and text of the
// balloon. Lengths are byte counts and a double-byte character is never split;
// the sizes are those of the fields of the shell's notification data.
#pragma once

#include <cstddef>

constexpr size_t TRAY_TIP_SIZE = 128;
constexpr size_t TRAY_BALLOON_TITLE_SIZE = 64;
constexpr size_t TRAY_BALLOON_TEXT_SIZE = 256;

// The time prefix, a blank and the text; the text is left out when the prefix
// leaves no room for the blank and at least one byte. An absent or empty prefix
// gives the text alone.
void buildTrayTip(char (&tip)[TRAY_TIP_SIZE], const char* prefix, const char* text);

// The time prefix followed directly by the suffix (the suffixes begin with a blank).
void buildBalloonTitle(char (&title)[TRAY_BALLOON_TITLE_SIZE], const char* prefix, const char* suffix);

void buildBalloonText(char (&balloon)[TRAY_BALLOON_TEXT_SIZE], const char* text);
