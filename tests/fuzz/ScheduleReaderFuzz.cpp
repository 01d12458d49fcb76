// Fuzz target of the data file reader: arbitrary bytes go through the read loop
// with its damage scan. Every record it yields must be consistent with its length
// fields, must pass through the day's rules and the tray texts (cut only on
// character boundaries), and writing the yielded records out and reading them
// again must give the same records without damage.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "schedule/ScheduleFile.h"
#include "schedule/TrayText.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// `cut` is a prefix of `whole` that ends on a character boundary.
bool wholeCharacterPrefix(const char* cut, const char* whole) {
    size_t at = 0;
    const size_t length = std::strlen(cut);
    while (at < length) at += isLeadByte932(static_cast<unsigned char>(cut[at])) ? 2 : 1;
    return at == length && std::strncmp(cut, whole, length) == 0;
}

// The day's rules and the tray texts over a record read from the file.
void useAsTheClockWould(const StoredSchedule& entry) {
    static const SYSTEMTIME today = makeSystemTime(2026, 2, 28, 9, 30);
    ULONGLONG due = 0;
    pendingOn(entry.record, today, 28);
    missedBefore(entry.record, today, 28);
    dueAt(entry.record, today);
    dueTimeOn(entry.record, today, due);
    char tip[TRAY_TIP_SIZE], balloon[TRAY_BALLOON_TEXT_SIZE];
    buildTrayTip(tip, "9:30", entry.content.c_str());
    buildBalloonText(balloon, entry.content.c_str());
    require(wholeCharacterPrefix(tip + 5, entry.content.c_str()) || std::strlen(tip) <= 5);
    require(wholeCharacterPrefix(balloon, entry.content.c_str()));
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

    // Blocks of a size chosen by the input put the edges of the blocks anywhere.
    ScheduleReader reader(size % 97 + 1);
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
        useAsTheClockWould(entry);
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
