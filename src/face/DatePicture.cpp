#include "face/DatePicture.h"

#include <cstring>
#include <string>

#include "settings/Flags.h"

namespace {

// The pieces of one date form, in the order they are joined.
struct DatePieces {
    const char* year;
    const char* eraAndYear;
    const char* monthAndDay;
    const char* dayAlone;
    const char* weekday;
};

const DatePieces LONG_FORM = {"yyyy'年'", "gg yyyy'年'", "M'月'dd'日'", "dd'日'", "'('ddd')'"};
const DatePieces SHORT_FORM = {"yyyy'/'", "gg yyyy'/'", "M'/'dd", "dd", "'('ddd')'"};

}  // namespace

bool buildDatePicture(uint32_t flags, char* picture) {
    const uint32_t form = flags & FLAG_DATE_FORM_MASK;
    if (form == FLAG_DATE_FORM_HIDDEN) return false;
    const DatePieces& pieces = form == FLAG_DATE_FORM_LONG ? LONG_FORM : SHORT_FORM;

    std::string text;
    if (!(flags & FLAG_HIDE_YEAR)) text += (flags & FLAG_SHOW_ERA) ? pieces.eraAndYear : pieces.year;
    text += (flags & FLAG_HIDE_MONTH) ? pieces.dayAlone : pieces.monthAndDay;
    if (!(flags & FLAG_HIDE_WEEKDAY)) text += pieces.weekday;

    // The longest combination is a few dozen bytes, far below the capacity.
    const size_t length = text.size() < DATE_PICTURE_CAPACITY ? text.size() : DATE_PICTURE_CAPACITY - 1;
    std::memcpy(picture, text.data(), length);
    picture[length] = '\0';
    mergeQuotedLiterals(picture, static_cast<int32_t>(DATE_PICTURE_CAPACITY));
    return true;
}

bool mergeQuotedLiterals(char* text, int32_t limit) {
    if (!text) return false;
    const char* read = text;
    char* write = text;
    for (int32_t step = 1; step < limit; ++step) {
        if (read[0] == '\'' && read[1] == '\'') {
            read += 2;
            continue;
        }
        if (*read == '\0') break;
        *write++ = *read++;
    }
    *write = '\0';
    return true;
}
