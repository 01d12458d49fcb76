// The schedule data file: a headerless sequence of records (each a ScheduleRecord
// followed by its title and content bytes), read with a damage scan that resumes
// at the next record marker, and changed only by writing a complete new version
// beside it and swapping it in, the previous version kept as the backup.
//
// Guarantees of every operation here:
// - Lengths read from the file are untrusted: a text longer than what is left of
//   the file, or whose length + 1 wraps, is damage; no read allocates more than
//   the file holds, and no exception leaves these functions.
// - A rewrite or append that fails leaves the data file exactly as it was. At every
//   instant a complete version of the file sits under its own name.
// - A rewrite keeps the order and bytes of the surviving records; a new record
//   goes to the end.
#pragma once

#include <cstdint>
#include <cstdio>

#include "schedule/FileReplace.h"
#include "schedule/ScheduleRecord.h"

constexpr char SCHEDULE_FILE_NAME[] = "Schedules.dat";
// Appended to the data file's path: the previous version, and the new version
// while it is being written.
constexpr char SCHEDULE_BACKUP_SUFFIX[] = ".backup";
constexpr char SCHEDULE_TEMP_SUFFIX[] = ".new";

// The four bytes the damage scan looks for: the marker as stored, 4 bytes into a record.
constexpr unsigned char SCHEDULE_MARKER[4] = {0xD4, 0x3C, 0x96, 0xE5};

enum RewriteMode : uint32_t {
    REWRITE_STAMP,   // a recurring record gets lastNotified = now; a SpecificDate one is dropped
    REWRITE_DELETE,  // the record is dropped whatever its type
};

// Reads one record at the current position. `bytesLeft` is what the file holds
// from the current position on; a record whose texts do not fit in it is refused
// before anything is allocated. True with both texts NUL-terminated; false on a
// short read, a wrong size or marker, texts that do not fit, or no memory.
bool readRecord(std::FILE* file, uint64_t bytesLeft, ScheduleRecord& record, TextBuffer& title,
                TextBuffer& content);

// Writes the 60 record bytes, then exactly titleLength and contentLength bytes of
// the texts (an empty buffer stands for zero bytes). True only when all of it was written.
bool writeRecord(std::FILE* file, const ScheduleRecord& record, const TextBuffer& title,
                 const TextBuffer& content);

// Scans forward from the current position (`position`, counted from the start of
// the file) for the marker D4 3C 96 E5 (a byte that breaks a partial match is not
// taken as a new D4) and moves back to the start of the record that holds it, 4
// bytes before the marker; `position` then holds that offset. False at the end of the file.
bool resyncToRecord(std::FILE* file, uint64_t& position);

// Walks the records of a data file in order, skipping damage. After a failed read
// the scan for the next marker starts 5 bytes past the failed read's start, so a
// good record behind a few bytes of garbage is kept, and a record with a good
// marker but a bad size is passed over rather than re-read. A record cut short by
// the end of the file ends the walk quietly (it is not damage).
class ScheduleReader {
public:
    ScheduleReader() = default;
    ~ScheduleReader();
    ScheduleReader(const ScheduleReader&) = delete;
    ScheduleReader& operator=(const ScheduleReader&) = delete;

    // Opens the file with "rb"; false when it cannot be opened.
    bool open(const char* path);
    // Reads from an open stream (positioned at its start), which the reader then closes.
    void adopt(std::FILE* file);
    // The next readable record; false at the end.
    bool next(ScheduleRecord& record, TextBuffer& title, TextBuffer& content);
    bool next(StoredSchedule& entry) { return next(entry.record, entry.title, entry.content); }
    // Was anything skipped as damage?
    bool damaged() const { return damageMet; }
    // Did the system fail to read the file (not damage in it)? The rest of the
    // file was then not seen, so it must not be rewritten from what was read.
    bool readFailed() const { return ioError; }
    void close();

private:
    std::FILE* file = nullptr;
    uint64_t position = 0;
    uint64_t size = 0;
    bool damageMet = false;
    bool ioError = false;
    char* streamBuffer = nullptr;
};

// Appends `record` with `title` and `content` at the end of the data file at
// `path`, creating the file when there is none (no backup is then made). Its
// duplicateIndex is set: 0 when no record shares its definition, else the smallest
// such index - 1 when that is above 0, else the largest + 1. `damageMet` tells
// whether damaged stretches of the old file were dropped (the user is told).
// False when nothing was appended; the data file is then as it was.
bool appendSchedule(const char* path, ScheduleRecord& record, const TextBuffer& title,
                    const TextBuffer& content, bool& damageMet);

// Rewrites the data file, changing or dropping the first record whose definition
// equals `key`'s (REWRITE_STAMP: recurring → lastNotified = now, SpecificDate →
// dropped; REWRITE_DELETE: dropped). Every record written whose lastNotified is
// later than `now` has it cleared. Damaged stretches are dropped. True when the
// file existed and was rewritten without meeting damage; on any write failure the
// data file is left as it was. `replaced`, when given, tells whether the data file
// now holds the new version, which it also does after meeting damage.
bool rewriteSchedules(const char* path, const ScheduleRecord& key, RewriteMode mode, const SYSTEMTIME& now,
                      bool* replaced = nullptr);

// The file-order copy of the data file the schedule manager works on. Owns its
// entries, each a heap-allocated StoredSchedule owning its texts.
class StoredScheduleList {
public:
    StoredScheduleList() = default;
    ~StoredScheduleList();
    StoredScheduleList(const StoredScheduleList&) = delete;
    StoredScheduleList& operator=(const StoredScheduleList&) = delete;

    uint32_t size() const { return count; }
    StoredSchedule* at(uint32_t index) const { return entries[index]; }
    StoredSchedule* const* begin() const { return entries; }
    StoredSchedule* const* end() const { return entries + count; }
    // Takes ownership of `entry` at the end; false (ownership not taken) when out of memory.
    bool append(StoredSchedule* entry);

private:
    friend void clearStoredSchedules(StoredScheduleList& list);
    friend bool removeStoredSchedule(StoredScheduleList& list, const StoredSchedule* entry);
    StoredSchedule** entries = nullptr;
    uint32_t count = 0;
    uint32_t capacity = 0;
};

// Appends every readable record of the file to `list`. False when the file is
// missing or unreadable, memory runs out, or damage was met; the records read so
// far stay in the list.
bool loadAllSchedules(const char* path, StoredScheduleList& list);

// Releases every entry and empties the list.
void clearStoredSchedules(StoredScheduleList& list);

// Finds `entry` by identity, releases it and removes it, keeping the order of the
// rest; false when it is not in the list.
bool removeStoredSchedule(StoredScheduleList& list, const StoredSchedule* entry);
