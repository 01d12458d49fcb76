#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ScheduleFiles.h"
#include "schedule/ScheduleFile.h"

using namespace schedulefiles;

namespace {

// Everything a reader yields from a file, as the contents of its records.
struct ReadOutcome {
    std::vector<std::string> contents;
    std::vector<ScheduleRecord> records;
    bool damaged = false;
};

ReadOutcome readThrough(const std::string& path, size_t blockSize) {
    ReadOutcome outcome;
    ScheduleReader reader(blockSize);
    EXPECT_TRUE(reader.open(path.c_str()));
    StoredSchedule entry;
    while (reader.next(entry)) {
        EXPECT_EQ(entry.content.length(), entry.record.contentLength);
        outcome.contents.emplace_back(entry.content.c_str(), entry.record.contentLength);
        outcome.records.push_back(entry.record);
    }
    outcome.damaged = reader.damaged();
    return outcome;
}

// Reads the file in blocks of the program's size, and again in blocks so small
// that records, texts and markers fall across their edges: both give the same.
ReadOutcome readAll(const std::string& path) {
    ReadOutcome outcome = readThrough(path, SCHEDULE_FILE_BLOCK);
    for (size_t blockSize : {1u, 7u, 61u}) {
        const ReadOutcome small = readThrough(path, blockSize);
        EXPECT_EQ(small.contents, outcome.contents) << "blocks of " << blockSize;
        EXPECT_EQ(small.damaged, outcome.damaged) << "blocks of " << blockSize;
    }
    return outcome;
}

std::vector<std::string> names(std::initializer_list<const char*> list) {
    return std::vector<std::string>(list.begin(), list.end());
}

std::string fiveRecords(const char* third) {
    std::string bytes;
    const char* contents[] = {"one", "two", third, "four", "five"};
    for (const char* content : contents) bytes += recordBytes(weekly(1, 9, 0, content));
    return bytes;
}

TEST(ScheduleFileFormat, WrittenRecordMatchesTheTableByteForByte) {
    ScratchFolder folder;
    RecordFields fields = weekly(3, 21, 45, "会議\r\n資料", 7);
    fields.type = Weekday;
    fields.weekOfMonth = 5;
    fields.title = "タイトル";
    fields.when.wYear = 0x1234;
    fields.when.wMonth = 0x0506;
    fields.when.wDay = 0x0708;
    fields.when.wSecond = 0x0A0B;
    fields.when.wMilliseconds = 0x0C0D;
    fields.lastNotified = makeSystemTime(2025, 3, 12, 21, 45);
    fields.lastNotified.wDayOfWeek = 3;
    fields.lastNotified.wSecond = 17;
    fields.lastNotified.wMilliseconds = 999;

    StoredSchedule entry;
    entry.record = recordOf(fields);
    entry.title.assign(fields.title.c_str());
    entry.content.assign(fields.content.c_str());
    const std::string path = folder.file("written.dat");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(writeRecord(file, entry.record, entry.title, entry.content));
    std::fclose(file);
    const std::string expected = recordBytes(fields);
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(expected.substr(0, 8), std::string("\x3C\0\0\0\xD4\x3C\x96\xE5", 8));

    const ReadOutcome back = readAll(path);
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(std::memcmp(&back.records[0], &entry.record, sizeof(ScheduleRecord)), 0);
    EXPECT_EQ(back.contents[0], fields.content);
    EXPECT_FALSE(back.damaged);
}

TEST(ScheduleFileFormat, EmptyTextsAndMissingFiles) {
    ScratchFolder folder;
    RecordFields fields = weekly(1, 9, 0, "");
    writeBytes(folder.dataFile(), recordBytes(fields) + recordBytes(weekly(2, 9, 0, "x")));
    ScheduleReader reader;
    ASSERT_TRUE(reader.open(folder.dataFile().c_str()));
    StoredSchedule entry;
    entry.content.assign("left over");
    ASSERT_TRUE(reader.next(entry));
    EXPECT_EQ(entry.record.contentLength, 0u);
    EXPECT_TRUE(entry.content.empty());
    EXPECT_TRUE(entry.title.empty());
    ASSERT_TRUE(reader.next(entry));
    EXPECT_STREQ(entry.content.c_str(), "x");
    EXPECT_FALSE(reader.next(entry));

    // A record that says it has a text but whose buffer holds none is not written.
    std::FILE* file = std::fopen(folder.file("short.dat").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ScheduleRecord lying = recordOf(fields);
    lying.contentLength = 4;
    TextBuffer none;
    EXPECT_FALSE(writeRecord(file, lying, none, none));
    std::fclose(file);

    EXPECT_FALSE(fileExists(folder.file("absent.dat").c_str()));
    EXPECT_FALSE(reader.open(folder.file("absent.dat").c_str()));
    StoredScheduleList list;
    EXPECT_FALSE(loadAllSchedules(folder.file("absent.dat").c_str(), list));
    EXPECT_EQ(list.size(), 0u);
    writeBytes(folder.dataFile(), "");
    EXPECT_TRUE(loadAllSchedules(folder.dataFile().c_str(), list));
    EXPECT_EQ(list.size(), 0u);
}

TEST(ScheduleFileFormat, WrongMarkerInTheThirdRecordLosesOnlyThatRecord) {
    ScratchFolder folder;
    std::string bytes = fiveRecords("three");
    const size_t third = 2 * (60 + 3);
    bytes[third + 5] = '\x3D';
    writeBytes(folder.dataFile(), bytes);
    ReadOutcome outcome = readAll(folder.dataFile());
    EXPECT_EQ(outcome.contents, names({"one", "two", "four", "five"}));
    EXPECT_TRUE(outcome.damaged);

    // A wrong size is the same kind of damage, and is not re-read forever.
    bytes = fiveRecords("three");
    bytes[third] = 61;
    writeBytes(folder.dataFile(), bytes);
    outcome = readAll(folder.dataFile());
    EXPECT_EQ(outcome.contents, names({"one", "two", "four", "five"}));
    EXPECT_TRUE(outcome.damaged);

    StoredScheduleList list;
    EXPECT_FALSE(loadAllSchedules(folder.dataFile().c_str(), list)) << "damage is reported";
    ASSERT_EQ(list.size(), 4u);
    EXPECT_STREQ(list.at(2)->content.c_str(), "four");
}

TEST(ScheduleFileFormat, GarbageInFrontOfARecordDoesNotTakeItAlong) {
    ScratchFolder folder;
    for (size_t garbage : {1u, 4u, 10u, 59u, 60u, 200u}) {
        const std::string bytes = recordBytes(weekly(1, 9, 0, "one")) + std::string(garbage, '\x55') +
                                  recordBytes(weekly(1, 9, 0, "two")) + recordBytes(weekly(1, 9, 0, "three"));
        writeBytes(folder.dataFile(), bytes);
        const ReadOutcome outcome = readAll(folder.dataFile());
        EXPECT_EQ(outcome.contents, names({"one", "two", "three"})) << garbage << " bytes of garbage";
        EXPECT_TRUE(outcome.damaged);
    }
    // Garbage at the end is damage too, but ends the file.
    writeBytes(folder.dataFile(), recordBytes(weekly(1, 9, 0, "one")) + std::string(70, '\x55'));
    const ReadOutcome outcome = readAll(folder.dataFile());
    EXPECT_EQ(outcome.contents, names({"one"}));
    EXPECT_TRUE(outcome.damaged);
}

TEST(ScheduleFileFormat, MarkerScanMatchesOnlyTheExactSequence) {
    ScratchFolder folder;
    writeBytes(folder.dataFile(), std::string("abcdef\xD4\xD4\x3C\x96\xE5", 11) + std::string(60, '\0'));
    ReadOutcome outcome = readAll(folder.dataFile());
    EXPECT_TRUE(outcome.contents.empty()) << "D4 D4 3C 96 E5 is not a marker";
    EXPECT_TRUE(outcome.damaged);

    // A partial marker just before a record does not hide it; the record starts 4 bytes before its marker.
    writeBytes(folder.dataFile(), std::string("abc\xD4\x3C\x96\x00", 7) + recordBytes(weekly(1, 9, 0, "rest")));
    outcome = readAll(folder.dataFile());
    EXPECT_EQ(outcome.contents, names({"rest"}));
    EXPECT_TRUE(outcome.damaged);
}

TEST(ScheduleFileFormat, RecordCutShortByTheEndOfTheFileIsDroppedQuietly) {
    ScratchFolder folder;
    const std::string whole = recordBytes(weekly(1, 9, 0, "one")) + recordBytes(weekly(1, 9, 0, "two, longer"));
    for (size_t cut : {1u, 30u, 59u, 60u, 65u}) {
        writeBytes(folder.dataFile(), whole.substr(0, whole.size() - cut));
        const ReadOutcome outcome = readAll(folder.dataFile());
        EXPECT_EQ(outcome.contents, names({"one"})) << "cut " << cut;
        EXPECT_FALSE(outcome.damaged) << "cut " << cut;
    }
}

TEST(ScheduleFileFormat, UntrustedLengthsAreDamageNotAllocations) {
    ScratchFolder folder;
    const std::string good = recordBytes(weekly(1, 9, 0, "good"));
    const uint32_t lengths[][2] = {{0xFFFFFFFFu, 0}, {0, 0xFFFFFFFFu}, {0x80000000u, 0x80000000u},
                                   {0x7FFFFFFFu, 0}, {0, 1000}};
    for (const auto& pair : lengths) {
        std::string bad = recordBytes(weekly(1, 9, 0, "bad"));
        std::memcpy(&bad[8], &pair[0], 4);
        std::memcpy(&bad[12], &pair[1], 4);
        writeBytes(folder.dataFile(), good + bad + good);
        const ReadOutcome outcome = readAll(folder.dataFile());
        EXPECT_EQ(outcome.contents, names({"good", "good"})) << pair[0] << " " << pair[1];
        EXPECT_TRUE(outcome.damaged);
    }
}

TEST(ScheduleFileFormat, ContentsOfAnySizeAndBytesAreStoredAndReadBackWhole) {
    ScratchFolder folder;
    std::string leadBytes;  // 0x81 to 0x9F and 0xE0 to 0xFC, over and over, an odd number of them
    for (int i = 0; i < 4095; ++i) leadBytes += static_cast<char>(i % 60 < 31 ? 0x81 + i % 60 : 0xE0 + i % 60 - 31);
    const std::string contents[] = {"", std::string(1 << 20, 'x'), leadBytes, "\xFC"};
    for (const std::string& content : contents) {
        ScheduleRecord record = recordOf(weekly(1, 9, 0, content));
        TextBuffer title, text;
        text.assign(content.c_str());
        bool damageMet = true;
        ASSERT_TRUE(appendSchedule(folder.dataFile().c_str(), record, title, text, damageMet));
        EXPECT_FALSE(damageMet);
    }
    // A stamp rewrites every record; what is read afterwards is what was added.
    ASSERT_TRUE(rewriteSchedules(folder.dataFile().c_str(), recordOf(weekly(1, 9, 0, "", 1)), REWRITE_STAMP,
                                 makeSystemTime(2026, 12, 8, 9, 0)));
    const ReadOutcome outcome = readAll(folder.dataFile());
    EXPECT_EQ(outcome.contents, std::vector<std::string>(std::begin(contents), std::end(contents)));
    EXPECT_FALSE(outcome.damaged);
}

}  // namespace
