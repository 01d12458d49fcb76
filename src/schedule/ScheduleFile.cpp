#include "schedule/ScheduleFile.h"

#include <cstring>
#include <new>

namespace {

bool headerValid(const ScheduleRecord& record) {
    return record.recordSize == SCHEDULE_RECORD_SIZE && record.magic == SCHEDULE_MAGIC;
}

uint64_t textBytes(const ScheduleRecord& record) {
    return static_cast<uint64_t>(record.titleLength) + record.contentLength;
}

// Does `text` hold the `length` bytes a record's length field says it has?
bool holds(const TextBuffer& text, uint32_t length) {
    return length == 0 || (text.data && text.capacity > length);
}

}  // namespace

FileBlock::FileBlock(size_t wanted) {
    if (wanted > sizeof spare) heap = new (std::nothrow) char[wanted];
    capacity = heap ? wanted : wanted > 0 && wanted < sizeof spare ? wanted : sizeof spare;
}

FileBlock::~FileBlock() { delete[] heap; }

ScheduleWriter::ScheduleWriter(std::FILE* file, size_t blockSize) : target(file), block(blockSize) {}

bool ScheduleWriter::put(const ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content) {
    if (!holds(title, record.titleLength) || !holds(content, record.contentLength)) return false;
    return putBytes(&record, sizeof record) && putBytes(title.data, record.titleLength) &&
           putBytes(content.data, record.contentLength);
}

bool ScheduleWriter::finish() { return sendHeld(); }

bool ScheduleWriter::putBytes(const void* bytes, size_t length) {
    if (failed) return false;
    if (held + length > block.size()) {
        if (!sendHeld()) return false;
        // A piece as long as a block goes out on its own.
        if (length >= block.size()) {
            failed = scheduleFileCalls.write(bytes, 1, length, target) != length;
            return !failed;
        }
    }
    if (length > 0) std::memcpy(block.data() + held, bytes, length);
    held += length;
    return true;
}

bool ScheduleWriter::sendHeld() {
    if (!failed && held > 0) failed = scheduleFileCalls.write(block.data(), 1, held, target) != held;
    held = 0;
    return !failed;
}

bool writeRecord(std::FILE* file, const ScheduleRecord& record, const TextBuffer& title,
                 const TextBuffer& content) {
    // One record needs no large block: the small one holds the record bytes and a short text.
    ScheduleWriter writer(file, 0);
    return writer.put(record, title, content) && writer.finish();
}

ScheduleReader::~ScheduleReader() { close(); }

bool ScheduleReader::open(const char* path) {
    close();
    std::FILE* opened = std::fopen(path, "rb");
    if (!opened) return false;
    // The reader's block is the only buffer the file needs.
    std::setvbuf(opened, nullptr, _IONBF, 0);
    adopt(opened);
    return true;
}

void ScheduleReader::adopt(std::FILE* opened) {
    if (file != opened) {
        if (file) std::fclose(file);
        file = opened;
    }
    blockStart = 0;
    blockLength = 0;
    streamAt = 0;
    cursor = 0;
    damageMet = false;
    ioError = !streamSize(file, size);
}

bool ScheduleReader::next(ScheduleRecord& record, TextBuffer& title, TextBuffer& content) {
    while (file && !ioError) {
        const uint64_t start = cursor;
        const uint64_t left = size > start ? size - start : 0;
        if (left < sizeof record) return false;  // a tail too short for a record ends the file quietly
        if (readRecord(left, record, title, content)) return true;
        if (ioError || std::ferror(file)) {
            ioError = true;
            return false;
        }
        // A record whose texts run past the end of the file was cut short; it only
        // counts as damage when a good record follows it.
        const bool cutShort = headerValid(record) && textBytes(record) > left - sizeof record;
        cursor = start + 5;
        if (!findMarker()) {
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
}

bool ScheduleReader::readRecord(uint64_t bytesLeft, ScheduleRecord& record, TextBuffer& title,
                                TextBuffer& content) {
    if (!take(&record, sizeof record) || !headerValid(record)) return false;
    if (textBytes(record) > bytesLeft - sizeof record) return false;
    return readText(title, record.titleLength) && readText(content, record.contentLength);
}

// Reads exactly `length` bytes into `text` and terminates them. An empty text
// allocates nothing.
bool ScheduleReader::readText(TextBuffer& text, uint32_t length) {
    if (length == 0) {
        if (text.data) text.data[0] = '\0';
        return true;
    }
    // reserve() refuses a length whose + 1 wraps around.
    if (!text.reserve(length)) return false;
    if (!take(text.data, length)) {
        text.data[0] = '\0';
        return false;
    }
    text.data[length] = '\0';
    return true;
}

bool ScheduleReader::take(void* destination, size_t length) {
    char* out = static_cast<char*>(destination);
    while (length > 0) {
        if (!cursorInBlock()) {
            // A piece at least a block long is read straight into its place.
            if (length >= block.size()) {
                if (!standAtCursor()) return false;
                const size_t got = std::fread(out, 1, length, file);
                streamAt += got;
                cursor += got;
                return got == length;
            }
            if (!refill()) return false;
        }
        const size_t available = static_cast<size_t>(blockEnd() - cursor);
        const size_t part = available < length ? available : length;
        std::memcpy(out, block.data() + (cursor - blockStart), part);
        out += part;
        cursor += part;
        length -= part;
    }
    return true;
}

bool ScheduleReader::findMarker() {
    unsigned state = 0;
    for (;;) {
        if (!cursorInBlock() && !refill()) return false;
        const unsigned char c = static_cast<unsigned char>(block.data()[cursor - blockStart]);
        ++cursor;
        if (c == SCHEDULE_MARKER[state]) {
            if (++state == sizeof SCHEDULE_MARKER) {
                cursor -= 8;
                return true;
            }
        } else {
            // The byte that broke the match is not looked at again as a first byte.
            state = 0;
        }
    }
}

bool ScheduleReader::refill() {
    if (!standAtCursor()) return false;
    blockStart = cursor;
    blockLength = std::fread(block.data(), 1, block.size(), file);
    streamAt += blockLength;
    return blockLength > 0;
}

bool ScheduleReader::standAtCursor() {
    if (streamAt == cursor) return true;
    if (!seekTo(file, cursor)) {
        ioError = true;
        return false;
    }
    streamAt = cursor;
    return true;
}
