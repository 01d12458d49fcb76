// The face text: the date prefix with its trailing blank, then the time.
#include "app/ClockWindow.h"
#include "face/DatePicture.h"
#include "settings/Flags.h"

static_assert(sizeof(ClockWindow::datePicture) == DATE_PICTURE_CAPACITY, "picture buffer size");

namespace {

// Characters the formatting functions may write into the face text, NUL included;
// the last byte of the buffer is never handed out.
constexpr int FACE_TEXT_CAPACITY = static_cast<int>(sizeof(ClockWindow::displayText)) - 1;

}  // namespace

void ClockWindow::buildDatePicture() { ::buildDatePicture(flags, datePicture); }

bool ClockWindow::formatDate() {
    dateLength = 0;
    if ((flags & FLAG_DATE_FORM_MASK) == FLAG_DATE_FORM_HIDDEN) return true;
    // The date follows the user's customisation of the locale: no LOCALE_NOUSEROVERRIDE.
    const DWORD dateFlags = (flags & FLAG_LOCAL_CALENDAR) ? DATE_USE_ALT_CALENDAR : 0;
    const int length =
        GetDateFormatA(LOCALE_USER_DEFAULT, dateFlags, &now, datePicture, displayText, FACE_TEXT_CAPACITY);
    if (length < 1) return false;
    displayText[length - 1] = ' ';
    displayText[length] = '\0';
    dateLength = length;
    return true;
}

bool ClockWindow::formatTime() {
    const DWORD timeFlags = LOCALE_NOUSEROVERRIDE | ((flags & FLAG_SHOW_SECONDS) ? 0 : TIME_NOSECONDS);
    const int capacity = FACE_TEXT_CAPACITY - dateLength;
    // A capacity of 0 would turn the call into a size query that writes nothing.
    const int length =
        capacity > 0 ? GetTimeFormatA(LOCALE_USER_DEFAULT, timeFlags, &now, nullptr, displayText + dateLength, capacity)
                     : 0;
    if (length == 0) {
        displayText[dateLength] = '\0';
        textLength = dateLength;
        return false;
    }
    textLength = dateLength + length - 1;
    return true;
}
