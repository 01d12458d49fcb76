// What the Display and Other pages of the property sheet show for a Flags word,
// and the Flags word that their controls make when the sheet is applied.
#pragma once

#include <cstdint>

// The Display page's controls. The lists are indexes; -1 stands for no selection.
struct DisplayChoices {
    bool showYear;
    bool showMonth;
    bool showWeekday;
    bool localCalendar;
    bool showEra;
    bool showSeconds;
    bool transparentBackground;
    bool translucent;
    bool customFont;
    int32_t effect;    // 0 text only, 1 shadow, 2 outline
    int32_t dateForm;  // 0 long, 1 short, 2 hidden (a stored 3 is shown as 3)
};

DisplayChoices displayChoicesOf(uint32_t flags);
// Every bit the Display page sets except FLAG_SHOW_SECONDS, which the clock
// switches together with its timer. A list index out of range leaves its bits.
uint32_t withDisplayChoices(uint32_t flags, const DisplayChoices& choices);

struct OtherChoices {
    bool snapToEdges;
    bool topmost;
    int32_t menu;  // 0 full menu, 1 short menu, 2 no menu
};

OtherChoices otherChoicesOf(uint32_t flags);
uint32_t withOtherChoices(uint32_t flags, const OtherChoices& choices);
