#include "util/Platform.h"

#ifndef _WIN32
namespace {

bool isLeapYear(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned daysInMonthOf(unsigned year, unsigned month) {
    static const unsigned days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1 January 1601 to the start of the given year.
ULONGLONG daysBeforeYear(unsigned year) {
    const ULONGLONG y = year - 1601;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft) {
    if (st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 ||
        st->wDay > daysInMonthOf(st->wYear, st->wMonth) || st->wHour > 23 || st->wMinute > 59 ||
        st->wSecond > 59 || st->wMilliseconds > 999) {
        return FALSE;
    }
    ULONGLONG days = daysBeforeYear(st->wYear);
    for (unsigned m = 1; m < st->wMonth; ++m) days += daysInMonthOf(st->wYear, m);
    days += st->wDay - 1;
    const ULONGLONG ms = ((days * 24 + st->wHour) * 60 + st->wMinute) * 60000ULL + st->wSecond * 1000ULL +
                         st->wMilliseconds;
    *ft = fileTimeFromValue(ms * 10000);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
    const ULONGLONG value = fileTimeValue(*ft);
    if (value >= 0x8000000000000000ULL) return FALSE;
    ULONGLONG ms = value / 10000;
    ULONGLONG days = ms / 86400000ULL;
    ULONGLONG msOfDay = ms % 86400000ULL;
    SYSTEMTIME out{};
    out.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1 January 1601 was a Monday
    unsigned year = 1601;
    while (true) {
        const unsigned yearDays = isLeapYear(year) ? 366 : 365;
        if (days < yearDays) break;
        days -= yearDays;
        ++year;
    }
    unsigned month = 1;
    while (days >= daysInMonthOf(year, month)) days -= daysInMonthOf(year, month++);
    out.wYear = static_cast<WORD>(year);
    out.wMonth = static_cast<WORD>(month);
    out.wDay = static_cast<WORD>(days + 1);
    out.wHour = static_cast<WORD>(msOfDay / 3600000);
    out.wMinute = static_cast<WORD>(msOfDay / 60000 % 60);
    out.wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
    out.wMilliseconds = static_cast<WORD>(msOfDay % 1000);
    *st = out;
    return TRUE;
}
#endif
