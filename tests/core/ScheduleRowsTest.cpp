// What the schedule manager's cells show, and the order its columns sort in.
#include <gtest/gtest.h>

#include <string>

#include "schedule/ScheduleRows.h"

namespace {

TEST(ScheduleRows, CellsAreTheDescriptionsAndTheWholeContent) {
    StoredSchedule s;
    s.record = makeScheduleRecord(Yearly, {0, 12, 0, 25, 0, 5, 0, 0}, 0, 0);
    s.content.assign("一行目\r\n二行目");
    const char* expected[] = {"年に一度", "毎年 12月25日", "午前 12:05", "一行目\r\n二行目", ""};
    TextBuffer cell;
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        ASSERT_TRUE(describeCell(s, column, cell)) << column;
        EXPECT_STREQ(cell.c_str(), expected[column]) << column;
    }
    // A type the program does not know has no type cell, so it gets no row.
    s.record.type = 4;
    EXPECT_FALSE(describeCell(s, COLUMN_TYPE, cell));
}

TEST(ScheduleRows, TextsOrderByCharacterNotByValue) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } rows[] = {
        {"午前 10:00", "午前 9:00", -1},
        {"毎年 12月25日", "毎年 2月1日", -1},
        {"午後 1:00", "午前 11:00", -1},  // 後 is 0x8CE3, 前 0x914F
        {"会議", "会議", 0},
        {"", "a", -1},
        {"会議", "会議室", -1},
        {"ｱ", "ア", -1},  // a single byte sorts below any double-byte character
        {"\x82", "\x82\xA0", -1},  // a lead byte at the end counts alone
    };
    for (const auto& row : rows) {
        EXPECT_EQ(compareText932(row.a, row.b), row.order) << row.a << " / " << row.b;
        EXPECT_EQ(compareText932(row.b, row.a), -row.order) << row.b << " / " << row.a;
    }
    // Only what a cell buffer holds takes part.
    std::string longA(CELL_COMPARE_BYTES, 'x'), longB = longA;
    longA += 'a';
    longB += 'b';
    EXPECT_EQ(compareText932(longA.c_str(), longB.c_str()), 0);
    EXPECT_LT(compareText932(longA.c_str(), longB.c_str(), CELL_COMPARE_BYTES + 1), 0);
}

}  // namespace
