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

// A block of memory for reading or writing a file in few, large pieces; a small
// block inside the object stands in when the heap cannot give a large one.
class FileBlock {
public:
    explicit FileBlock(size_t wanted);
    ~FileBlock();
    FileBlock(const FileBlock&) = delete;
    FileBlock& operator=(const FileBlock&) = delete;

    char* data() { return heap ? heap : spare; }
    size_t size() const { return capacity; }

private:
    char* heap = nullptr;
    size_t capacity = 0;
    char spare[256];
};

// The size of the blocks a data file is read and written in.
constexpr size_t SCHEDULE_FILE_BLOCK = 64 * 1024;

// Collects records and sends them to a stream in large blocks through
// scheduleFileCalls.write, so a file of many records is written with few calls.
class ScheduleWriter {
public:
    explicit ScheduleWriter(std::FILE* file = nullptr, size_t blockSize = SCHEDULE_FILE_BLOCK);
    // Starts writing to `file`; what was held for an earlier stream must have been finished.
    void writeTo(std::FILE* file) { target = file; }
    // Adds the 60 record bytes, then exactly titleLength and contentLength bytes of
    // the texts (an empty buffer stands for zero bytes). Refuses, adding nothing, a
    // buffer holding fewer bytes than its length field says; false too once a write failed.
    bool put(const ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content);
    // Writes what is still held; true only when every byte put so far was written.
    bool finish();

private:
    bool putBytes(const void* bytes, size_t length);
    bool sendHeld();
    std::FILE* target;
    FileBlock block;
    size_t held = 0;
    bool failed = false;
};

// Writes one record to `file` at once. True only when all of it was written.
bool writeRecord(std::FILE* file, const ScheduleRecord& record, const TextBuffer& title,
                 const TextBuffer& content);

// Walks the records of a data file in order, skipping damage. The file is read
// in large blocks and records are taken out of them. A record's texts must fit in
// what the file holds from the record on, or the record is refused before anything
// is allocated. After a failed read the damage scan looks for the marker
// D4 3C 96 E5 (a byte that breaks a partial match is not taken as a new D4) from 5
// bytes past the failed read's start, and resumes at the record that holds it, 4
// bytes before the marker: so a good record behind a few bytes of garbage is kept,
// and a record with a good marker but a bad size is passed over rather than re-read.
// A record cut short by the end of the file ends the walk quietly (it is not damage).
class ScheduleReader {
public:
    // Tests pass a small `blockSize` to reach the edges of the blocks.
    explicit ScheduleReader(size_t blockSize = SCHEDULE_FILE_BLOCK) : block(blockSize) {}
    ~ScheduleReader();
    ScheduleReader(const ScheduleReader&) = delete;
    ScheduleReader& operator=(const ScheduleReader&) = delete;

    // Opens the file with "rb"; false when it cannot be opened.
    bool open(const char* path);
    // Reads from an open stream (positioned at its start), which the reader then closes.
    void adopt(std::FILE* file);
    // The next readable record, both texts NUL-terminated; false at the end.
    bool next(ScheduleRecord& record, TextBuffer& title, TextBuffer& content);
    bool next(StoredSchedule& entry) { return next(entry.record, entry.title, entry.content); }
    // Was anything skipped as damage?
    bool damaged() const { return damageMet; }
    // Did the system fail to read the file (not damage in it)? The rest of the
    // file was then not seen, so it must not be rewritten from what was read.
    bool readFailed() const { return ioError; }
    void close();

private:
    bool readRecord(uint64_t bytesLeft, ScheduleRecord& record, TextBuffer& title, TextBuffer& content);
    bool readText(TextBuffer& text, uint32_t length);
    bool take(void* destination, size_t length);
    bool findMarker();
    // Reads the block that starts at the cursor; false at the end of the file or when the read fails.
    bool refill();
    // Moves the stream to the cursor when it stands elsewhere; false (a failed read) when it cannot.
    bool standAtCursor();
    uint64_t blockEnd() const { return blockStart + blockLength; }
    bool cursorInBlock() const { return cursor >= blockStart && cursor < blockEnd(); }

    std::FILE* file = nullptr;
    uint64_t size = 0;
    FileBlock block;
    uint64_t blockStart = 0;   // offset in the file of the block's first byte
    size_t blockLength = 0;    // bytes of the file the block holds
    uint64_t streamAt = 0;     // where the stream stands
    uint64_t cursor = 0;       // offset of the next byte to take
    bool damageMet = false;
    bool ioError = false;
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
