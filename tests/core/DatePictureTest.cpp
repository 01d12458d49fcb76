#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "face/DatePicture.h"
#include "settings/Flags.h"

namespace {

struct PictureRow {
    uint32_t flags;
    const char* picture;
};

constexpr uint32_t LONG = FLAG_DATE_FORM_LONG;
constexpr uint32_t SHORT = FLAG_DATE_FORM_SHORT;
constexpr uint32_t NO_YEAR = FLAG_HIDE_YEAR;
constexpr uint32_t ERA = FLAG_SHOW_ERA;
constexpr uint32_t NO_MONTH = FLAG_HIDE_MONTH;
constexpr uint32_t NO_WEEKDAY = FLAG_HIDE_WEEKDAY;

// Every combination of form, year, era, month and weekday with the picture the
// date formatting receives. Rows without a year carry no era: it is added below.
const PictureRow PICTURE_ROWS[] = {
    {LONG, "yyyy'年'M'月'dd'日('ddd')'"},
    {LONG | NO_WEEKDAY, "yyyy'年'M'月'dd'日'"},
    {LONG | NO_MONTH, "yyyy'年'dd'日('ddd')'"},
    {LONG | NO_MONTH | NO_WEEKDAY, "yyyy'年'dd'日'"},
    {LONG | ERA, "gg yyyy'年'M'月'dd'日('ddd')'"},
    {LONG | ERA | NO_WEEKDAY, "gg yyyy'年'M'月'dd'日'"},
    {LONG | ERA | NO_MONTH, "gg yyyy'年'dd'日('ddd')'"},
    {LONG | ERA | NO_MONTH | NO_WEEKDAY, "gg yyyy'年'dd'日'"},
    {LONG | NO_YEAR, "M'月'dd'日('ddd')'"},
    {LONG | NO_YEAR | NO_WEEKDAY, "M'月'dd'日'"},
    {LONG | NO_YEAR | NO_MONTH, "dd'日('ddd')'"},
    {LONG | NO_YEAR | NO_MONTH | NO_WEEKDAY, "dd'日'"},
    {SHORT, "yyyy'/'M'/'dd'('ddd')'"},
    {SHORT | NO_WEEKDAY, "yyyy'/'M'/'dd"},
    {SHORT | NO_MONTH, "yyyy'/'dd'('ddd')'"},
    {SHORT | NO_MONTH | NO_WEEKDAY, "yyyy'/'dd"},
    {SHORT | ERA, "gg yyyy'/'M'/'dd'('ddd')'"},
    {SHORT | ERA | NO_WEEKDAY, "gg yyyy'/'M'/'dd"},
    {SHORT | ERA | NO_MONTH, "gg yyyy'/'dd'('ddd')'"},
    {SHORT | ERA | NO_MONTH | NO_WEEKDAY, "gg yyyy'/'dd"},
    {SHORT | NO_YEAR, "M'/'dd'('ddd')'"},
    {SHORT | NO_YEAR | NO_WEEKDAY, "M'/'dd"},
    {SHORT | NO_YEAR | NO_MONTH, "dd'('ddd')'"},
    {SHORT | NO_YEAR | NO_MONTH | NO_WEEKDAY, "dd"},
};

// The picture for `flags`, built over a buffer full of leftovers so that a
// missing terminator or a stale byte shows.
std::string pictureFor(uint32_t flags) {
    char picture[DATE_PICTURE_CAPACITY];
    std::memset(picture, 'X', sizeof picture);
    EXPECT_TRUE(buildDatePicture(flags, picture));
    EXPECT_NE(std::memchr(picture, '\0', sizeof picture), nullptr);
    return picture;
}

TEST(DatePicture, EveryCombinationGivesItsPictureByteForByte) {
    for (const PictureRow& row : PICTURE_ROWS) {
        SCOPED_TRACE(row.flags);
        EXPECT_EQ(pictureFor(row.flags), row.picture);
        // Bits the date does not read change nothing; the era needs the year.
        EXPECT_EQ(pictureFor(row.flags | FLAG_SNAP_TO_EDGES | FLAG_LOCAL_CALENDAR | FLAG_SHOW_SECONDS), row.picture);
        if (row.flags & NO_YEAR) {
            EXPECT_EQ(pictureFor(row.flags | ERA), row.picture);
        }
    }
}

TEST(DatePicture, FormThreeIsTheShortFormAndHiddenLeavesThePictureAlone) {
    const uint32_t formThree = FLAG_DATE_FORM_MASK;
    EXPECT_EQ(pictureFor(formThree), "yyyy'/'M'/'dd'('ddd')'");
    EXPECT_EQ(pictureFor(formThree | ERA | NO_WEEKDAY), "gg yyyy'/'M'/'dd");

    char picture[DATE_PICTURE_CAPACITY] = "dd'日'";
    EXPECT_FALSE(buildDatePicture(FLAG_DATE_FORM_HIDDEN, picture));
    EXPECT_STREQ(picture, "dd'日'");
    EXPECT_EQ(pictureFor(FLAGS_DEFAULT), "yyyy'年'M'月'dd'日('ddd')'");
}

TEST(MergeQuotedLiterals, RemovesOnlyAdjacentPairsAndKeepsSingleApostrophes) {
    EXPECT_FALSE(mergeQuotedLiterals(nullptr, 128));

    char joined[] = "dd'日''('ddd')'";
    ASSERT_TRUE(mergeQuotedLiterals(joined, 128));
    EXPECT_STREQ(joined, "dd'日('ddd')'");

    char several[] = "''a'''b''''";  // a pair, then a pair and a single, then two pairs
    ASSERT_TRUE(mergeQuotedLiterals(several, 128));
    EXPECT_STREQ(several, "a'b");

    char empty[] = "";
    ASSERT_TRUE(mergeQuotedLiterals(empty, 128));
    EXPECT_STREQ(empty, "");
}

TEST(MergeQuotedLiterals, StopsAfterLimitStepsCountingAPairAsOne) {
    char text[] = "ab''cdef";
    ASSERT_TRUE(mergeQuotedLiterals(text, 4));  // steps: a, b, the pair
    EXPECT_STREQ(text, "ab");

    char again[] = "ab''cdef";
    ASSERT_TRUE(mergeQuotedLiterals(again, 5));
    EXPECT_STREQ(again, "abc");

    char none[] = "abc";
    ASSERT_TRUE(mergeQuotedLiterals(none, 1));
    EXPECT_STREQ(none, "");
    char negative[] = "abc";
    ASSERT_TRUE(mergeQuotedLiterals(negative, -5));
    EXPECT_STREQ(negative, "");
}

}  // namespace
