#include "schedule/ScheduleFile.h"

#include <new>

namespace {

// Size of the stream buffer of a reader: the file is read in few, large pieces.
constexpr size_t READ_BUFFER_SIZE = 64 * 1024;

// Reads exactly `length` bytes into `buffer` and terminates them. An empty text
// allocates nothing.
bool readText(std::FILE* file, TextBuffer& buffer, uint32_t length) {
    if (length == 0) {
        if (buffer.data) buffer.data[0] = '\0';
        return true;
    }
    // reserve() refuses a length whose + 1 wraps around.
    if (!buffer.reserve(length)) return false;
    if (std::fread(buffer.data, 1, length, file) != length) {
        buffer.data[0] = '\0';
        return false;
    }
    buffer.data[length] = '\0';
    return true;
}

// Writes `length` bytes of `text`; refuses a buffer that holds fewer, which would
// leave the record's length field describing bytes that are not there.
bool writeText(std::FILE* file, const TextBuffer& text, uint32_t length) {
    if (length == 0) return true;
    if (!text.data || text.capacity <= length) return false;
    return scheduleFileCalls.write(text.data, 1, length, file) == length;
}

bool headerValid(const ScheduleRecord& record) {
    return record.recordSize == SCHEDULE_RECORD_SIZE && record.magic == SCHEDULE_MAGIC;
}

uint64_t textBytes(const ScheduleRecord& record) {
    return static_cast<uint64_t>(record.titleLength) + record.contentLength;
}

}  // namespace

bool readRecord(std::FILE* file, uint64_t bytesLeft, ScheduleRecord& record, TextBuffer& title,
                TextBuffer& content) {
    if (std::fread(&record, 1, sizeof record, file) != sizeof record) return false;
    if (!headerValid(record)) return false;
    if (bytesLeft < sizeof record || textBytes(record) > bytesLeft - sizeof record) return false;
    if (!readText(file, title, record.titleLength)) return false;
    return readText(file, content, record.contentLength);
}

bool writeRecord(std::FILE* file, const ScheduleRecord& record, const TextBuffer& title,
                 const TextBuffer& content) {
    return scheduleFileCalls.write(&record, 1, sizeof record, file) == sizeof record &&
           writeText(file, title, record.titleLength) && writeText(file, content, record.contentLength);
}

bool resyncToRecord(std::FILE* file, uint64_t& position) {
    unsigned state = 0;
    int c;
    while ((c = std::getc(file)) != EOF) {
        ++position;
        if (c == SCHEDULE_MARKER[state]) {
            if (++state == sizeof SCHEDULE_MARKER) {
                position -= 8;
                return seekTo(file, position);
            }
        } else {
            // The byte that broke the match is not looked at again as a first byte.
            state = 0;
        }
    }
    return false;
}

ScheduleReader::~ScheduleReader() { close(); }

bool ScheduleReader::open(const char* path) {
    close();
    std::FILE* opened = std::fopen(path, "rb");
    if (!opened) return false;
    streamBuffer = new (std::nothrow) char[READ_BUFFER_SIZE];
    if (streamBuffer) std::setvbuf(opened, streamBuffer, _IOFBF, READ_BUFFER_SIZE);
    adopt(opened);
    return true;
}

void ScheduleReader::adopt(std::FILE* opened) {
    if (file != opened) {
        if (file) std::fclose(file);
        file = opened;
    }
    position = 0;
    damageMet = false;
    ioError = !streamSize(file, size);
}

bool ScheduleReader::next(ScheduleRecord& record, TextBuffer& title, TextBuffer& content) {
    while (file && !ioError) {
        const uint64_t start = position;
        const uint64_t left = size > start ? size - start : 0;
        if (left < sizeof record) return false;  // a tail too short for a record ends the file quietly
        if (readRecord(file, left, record, title, content)) {
            position = start + sizeof record + textBytes(record);
            return true;
        }
        if (std::ferror(file)) {
            ioError = true;
            return false;
        }
        // A record whose texts run past the end of the file was cut short; it only
        // counts as damage when a good record follows it.
        const bool cutShort = headerValid(record) && textBytes(record) > left - sizeof record;
        position = start + 5;
        if (!seekTo(file, position)) {
            ioError = true;
            return false;
        }
        if (!resyncToRecord(file, position)) {
            if (std::ferror(file)) ioError = true;
            if (!cutShort) damageMet = true;
            return false;
        }
        damageMet = true;
    }
    return false;
}

void ScheduleReader::close() {
    if (file) std::fclose(file);
    file = nullptr;
    delete[] streamBuffer;
    streamBuffer = nullptr;
}
