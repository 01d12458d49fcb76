#include "schedule/TrayText.h"

#include <cstring>

#include "util/TextBuffer.h"

namespace {

// Appends src after the text already in dest (of size bytes, NUL-terminated),
// as far as it fits whole characters; dest stays NUL-terminated.
void appendBounded(char* dest, size_t size, const char* src) {
    const size_t used = std::strlen(dest);
    if (used + 1 >= size) return;
    copyCharsBounded(dest + used, src, size - 1 - used);
    dest[size - 1] = '\0';
}

}  // namespace

void buildTrayTip(char (&tip)[TRAY_TIP_SIZE], const char* prefix, const char* text) {
    tip[0] = '\0';
    if (prefix && *prefix) {
        appendBounded(tip, sizeof tip, prefix);
        // A blank and at least one byte of text must fit after the prefix.
        if (std::strlen(tip) > sizeof tip - 3) return;
        appendBounded(tip, sizeof tip, " ");
    }
    if (text) appendBounded(tip, sizeof tip, text);
}

void buildBalloonTitle(char (&title)[TRAY_BALLOON_TITLE_SIZE], const char* prefix, const char* suffix) {
    title[0] = '\0';
    if (prefix) appendBounded(title, sizeof title, prefix);
    if (suffix) appendBounded(title, sizeof title, suffix);
}

void buildBalloonText(char (&balloon)[TRAY_BALLOON_TEXT_SIZE], const char* text) {
    balloon[0] = '\0';
    if (text) appendBounded(balloon, sizeof balloon, text);
}
