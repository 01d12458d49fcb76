#include "settings/PageChoices.h"

#include "settings/Flags.h"

namespace {

constexpr uint32_t EFFECT_BITS = FLAG_SHADOW | FLAG_NO_OUTLINE;
constexpr uint32_t EFFECT_BITS_BY_INDEX[3] = {FLAG_NO_OUTLINE, FLAG_SHADOW | FLAG_NO_OUTLINE, 0};
constexpr uint32_t MENU_BITS = FLAG_MENU_HIDDEN | FLAG_MENU_SIMPLE;
constexpr uint32_t MENU_BITS_BY_INDEX[3] = {0, FLAG_MENU_SIMPLE, FLAG_MENU_HIDDEN | FLAG_MENU_SIMPLE};
constexpr int DATE_FORM_SHIFT = 10;

uint32_t setOrClear(uint32_t flags, uint32_t bit, bool set) { return set ? (flags | bit) : (flags & ~bit); }

bool inList(int32_t index) { return index >= 0 && index < 3; }

}  // namespace

DisplayChoices displayChoicesOf(uint32_t flags) {
    DisplayChoices c{};
    c.showYear = !(flags & FLAG_HIDE_YEAR);
    c.showMonth = !(flags & FLAG_HIDE_MONTH);
    c.showWeekday = !(flags & FLAG_HIDE_WEEKDAY);
    c.localCalendar = (flags & FLAG_LOCAL_CALENDAR) != 0;
    c.showEra = (flags & FLAG_SHOW_ERA) != 0;
    c.showSeconds = (flags & FLAG_SHOW_SECONDS) != 0;
    c.transparentBackground = !(flags & FLAG_OPAQUE_BACKGROUND);
    c.translucent = (flags & FLAG_TRANSLUCENT) != 0;
    c.customFont = (flags & FLAG_CUSTOM_FONT) != 0;
    // An outline is drawn whenever FLAG_NO_OUTLINE is clear, shadow bit or not.
    c.effect = !(flags & FLAG_NO_OUTLINE) ? 2 : (flags & FLAG_SHADOW) ? 1 : 0;
    c.dateForm = static_cast<int32_t>((flags & FLAG_DATE_FORM_MASK) >> DATE_FORM_SHIFT);
    return c;
}

uint32_t withDisplayChoices(uint32_t flags, const DisplayChoices& c) {
    flags = setOrClear(flags, FLAG_OPAQUE_BACKGROUND, !c.transparentBackground);
    flags = setOrClear(flags, FLAG_TRANSLUCENT, c.translucent);
    flags = setOrClear(flags, FLAG_CUSTOM_FONT, c.customFont);
    flags = setOrClear(flags, FLAG_HIDE_YEAR, !c.showYear);
    flags = setOrClear(flags, FLAG_HIDE_MONTH, !c.showMonth);
    flags = setOrClear(flags, FLAG_HIDE_WEEKDAY, !c.showWeekday);
    flags = setOrClear(flags, FLAG_LOCAL_CALENDAR, c.localCalendar);
    flags = setOrClear(flags, FLAG_SHOW_ERA, c.showEra);
    if (inList(c.effect)) flags = (flags & ~EFFECT_BITS) | EFFECT_BITS_BY_INDEX[c.effect];
    if (inList(c.dateForm)) {
        flags = (flags & ~FLAG_DATE_FORM_MASK) | (static_cast<uint32_t>(c.dateForm) << DATE_FORM_SHIFT);
    }
    return flags;
}

OtherChoices otherChoicesOf(uint32_t flags) {
    OtherChoices c{};
    c.snapToEdges = (flags & FLAG_SNAP_TO_EDGES) != 0;
    c.topmost = (flags & FLAG_TOPMOST) != 0;
    c.menu = (flags & FLAG_MENU_HIDDEN) ? 2 : (flags & FLAG_MENU_SIMPLE) ? 1 : 0;
    return c;
}

uint32_t withOtherChoices(uint32_t flags, const OtherChoices& c) {
    flags = setOrClear(flags, FLAG_SNAP_TO_EDGES, c.snapToEdges);
    flags = setOrClear(flags, FLAG_TOPMOST, c.topmost);
    if (inList(c.menu)) flags = (flags & ~MENU_BITS) | MENU_BITS_BY_INDEX[c.menu];
    return flags;
}
