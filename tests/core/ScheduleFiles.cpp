#include "ScheduleFiles.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace schedulefiles {

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    folder = std::filesystem::temp_directory_path() /
             ("quillet-records-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

void putU16(std::string& out, size_t offset, uint16_t value) {
    out[offset] = static_cast<char>(value & 0xFF);
    out[offset + 1] = static_cast<char>(value >> 8);
}

void putU32(std::string& out, size_t offset, uint32_t value) {
    putU16(out, offset, static_cast<uint16_t>(value));
    putU16(out, offset + 2, static_cast<uint16_t>(value >> 16));
}

void putTime(std::string& out, size_t offset, const SYSTEMTIME& t) {
    const WORD parts[8] = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    for (size_t i = 0; i < 8; ++i) putU16(out, offset + 2 * i, parts[i]);
}

}  // namespace

std::string recordBytes(const RecordFields& f) {
    std::string out(60, '\0');
    putU32(out, 0, 60);
    putU32(out, 4, 0xE5963CD4);
    putU32(out, 8, static_cast<uint32_t>(f.title.size()));
    putU32(out, 12, static_cast<uint32_t>(f.content.size()));
    putU32(out, 16, f.type);
    putTime(out, 20, f.lastNotified);
    putTime(out, 36, f.when);
    putU32(out, 52, f.weekOfMonth);
    putU32(out, 56, f.duplicateIndex);
    return out + f.title + f.content;
}

ScheduleRecord recordOf(const RecordFields& f) {
    ScheduleRecord record = makeScheduleRecord(f.type, f.when, f.weekOfMonth, static_cast<uint32_t>(f.content.size()));
    record.titleLength = static_cast<uint32_t>(f.title.size());
    record.lastNotified = f.lastNotified;
    record.duplicateIndex = f.duplicateIndex;
    return record;
}

RecordFields weekly(WORD dayOfWeek, WORD hour, WORD minute, const std::string& content, uint32_t index) {
    RecordFields f;
    f.type = Weekday;
    f.when.wDayOfWeek = dayOfWeek;
    f.when.wHour = hour;
    f.when.wMinute = minute;
    f.duplicateIndex = index;
    f.content = content;
    return f;
}

}  // namespace schedulefiles
