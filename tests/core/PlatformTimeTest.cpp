// The time conversions the core relies on; natively these are the project's own
// substitute, under Wine the system's, so both must agree with these values.
#include <gtest/gtest.h>

#include "util/Platform.h"

namespace {

TEST(PlatformTime, KnownDatesConvertBothWays) {
    SYSTEMTIME st{};
    st.wYear = 2000;
    st.wMonth = 2;
    st.wDay = 29;
    st.wHour = 12;
    st.wMinute = 34;
    st.wSecond = 56;
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    EXPECT_EQ(fileTimeValue(ft), 125963012960000000ULL);

    SYSTEMTIME back;
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(back.wYear, 2000);
    EXPECT_EQ(back.wMonth, 2);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wDayOfWeek, 2);  // a Tuesday
    EXPECT_EQ(back.wHour, 12);
    EXPECT_EQ(back.wMinute, 34);
    EXPECT_EQ(back.wSecond, 56);
}

TEST(PlatformTime, InvalidDatesAreRefused) {
    FILETIME ft;
    SYSTEMTIME feb29{};
    feb29.wYear = 2026;
    feb29.wMonth = 2;
    feb29.wDay = 29;
#ifndef _WIN32
    // Windows refuses a day past the month's end; Wine does not, so the core never relies on it.
    EXPECT_FALSE(SystemTimeToFileTime(&feb29, &ft));
#endif
    SYSTEMTIME month13 = feb29;
    month13.wMonth = 13;
    month13.wDay = 1;
    EXPECT_FALSE(SystemTimeToFileTime(&month13, &ft));
    SYSTEMTIME early = feb29;
    early.wYear = 1600;
    early.wDay = 1;
    EXPECT_FALSE(SystemTimeToFileTime(&early, &ft));
}

TEST(PlatformTime, EveryDayOfACenturyRoundTripsWithItsWeekday) {
    SYSTEMTIME start{};
    start.wYear = 1999;
    start.wMonth = 12;
    start.wDay = 31;  // a Friday
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&start, &ft));
    ULONGLONG value = fileTimeValue(ft);
    WORD weekday = 5;
    for (int i = 0; i < 36525; ++i) {
        value += FILETIME_DAY;
        weekday = static_cast<WORD>((weekday + 1) % 7);
        FILETIME next = fileTimeFromValue(value);
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&next, &st));
        ASSERT_EQ(st.wDayOfWeek, weekday);
        FILETIME again;
        ASSERT_TRUE(SystemTimeToFileTime(&st, &again));
        ASSERT_EQ(fileTimeValue(again), value);
    }
}

}  // namespace
