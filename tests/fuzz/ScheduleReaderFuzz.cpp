// Fuzz target of the data file reader: arbitrary bytes go through the read loop
// with its damage scan. Every record it yields must be consistent with its length
// fields, and writing the yielded records out and reading them again must give
// the same records without damage.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "schedule/ScheduleFile.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool sameBytes(const TextBuffer& text, const TextBuffer& other, uint32_t length) {
    return length == 0 || std::memcmp(text.data, other.data, length) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* input = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!input) return 0;
    char* written = nullptr;
    size_t writtenSize = 0;
    std::FILE* output = open_memstream(&written, &writtenSize);
    require(output != nullptr);

    ScheduleReader reader;
    reader.adopt(input);
    StoredSchedule entry;
    uint64_t yielded = 0;
    uint64_t textBytes = 0;
    while (reader.next(entry)) {
        const ScheduleRecord& record = entry.record;
        require(record.recordSize == SCHEDULE_RECORD_SIZE && record.magic == SCHEDULE_MAGIC);
        require(record.titleLength == 0 || entry.title.data[record.titleLength] == '\0');
        require(record.contentLength == 0 || entry.content.data[record.contentLength] == '\0');
        ++yielded;
        textBytes += static_cast<uint64_t>(record.titleLength) + record.contentLength;
        require(yielded * SCHEDULE_RECORD_SIZE + textBytes <= size);
        require(writeRecord(output, record, entry.title, entry.content));
    }
    reader.close();
    std::fclose(output);

    // What was read is written back whole, and reads back the same and undamaged.
    if (writtenSize > 0) {
        std::FILE* again = fmemopen(written, writtenSize, "rb");
        require(again != nullptr);
        ScheduleReader second;
        second.adopt(again);
        StoredSchedule copy;
        ScheduleReader third;
        std::FILE* original = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        require(original != nullptr);
        third.adopt(original);
        uint64_t reread = 0;
        while (second.next(copy)) {
            require(third.next(entry));
            require(std::memcmp(&copy.record, &entry.record, sizeof copy.record) == 0);
            require(sameBytes(copy.title, entry.title, copy.record.titleLength));
            require(sameBytes(copy.content, entry.content, copy.record.contentLength));
            ++reread;
        }
        require(reread == yielded && !second.damaged());
    }
    std::free(written);
    return 0;
}
