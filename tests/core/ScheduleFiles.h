// Shared helpers of the schedule file tests: a scratch folder, whole-file bytes,
// and records laid out by hand from the file format table.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "schedule/ScheduleFile.h"

namespace schedulefiles {

// A new empty folder, removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string file(const char* name) const { return (folder / name).string(); }
    std::string dataFile() const { return file(SCHEDULE_FILE_NAME); }
    std::string backupFile() const { return dataFile() + SCHEDULE_BACKUP_SUFFIX; }

private:
    std::filesystem::path folder;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);


// The fields of one record; the lengths come from the texts.
struct RecordFields {
    uint32_t type = Weekday;
    SYSTEMTIME when{};
    SYSTEMTIME lastNotified{};
    uint32_t weekOfMonth = 0;
    uint32_t duplicateIndex = 0;
    std::string title;
    std::string content;
};

// The bytes of a record, each field stored little-endian at its offset.
std::string recordBytes(const RecordFields& fields);

// The record part of `fields` as the program holds it.
ScheduleRecord recordOf(const RecordFields& fields);

// A weekly record at the given time and duplicate index, with a content text.
RecordFields weekly(WORD dayOfWeek, WORD hour, WORD minute, const std::string& content, uint32_t index = 0);

}  // namespace schedulefiles
