// Changing the data file: the new version is written in full to a file beside it,
// forced to the disk, and only then swapped in, the previous version becoming the
// backup. A failure before the swap leaves the data file untouched.
#include "schedule/ScheduleFile.h"

namespace {

bool buildPath(TextBuffer& out, const char* path, const char* suffix) {
    out.release();
    return out.append(path) && out.append(suffix);
}

// The new version of the data file while it is being written.
class NewVersion {
public:
    ~NewVersion() { discard(); }

    bool open(const char* dataPath) {
        if (!buildPath(tempPath, dataPath, SCHEDULE_TEMP_SUFFIX) ||
            !buildPath(backupPath, dataPath, SCHEDULE_BACKUP_SUFFIX)) {
            return false;
        }
        file = scheduleFileCalls.createNew(tempPath.c_str());
        writer.writeTo(file);
        return file != nullptr;
    }

    bool put(const ScheduleRecord& record, const TextBuffer& title, const TextBuffer& content) {
        return writer.put(record, title, content);
    }

    // Forces the new version to the disk and swaps it in; on failure it is
    // removed and the data file is as it was.
    bool commit(const char* dataPath) {
        const bool flushed = writer.finish() && scheduleFileCalls.flushToDisk(file);
        const bool closed = std::fclose(file) == 0;
        file = nullptr;
        if (flushed && closed && replaceWithBackup(dataPath, tempPath.c_str(), backupPath.c_str())) {
            tempPath.release();
            return true;
        }
        discard();
        return false;
    }

    void discard() {
        if (file) std::fclose(file);
        file = nullptr;
        if (!tempPath.empty()) removeFile(tempPath.c_str());
        tempPath.release();
    }

private:
    std::FILE* file = nullptr;
    ScheduleWriter writer;
    TextBuffer tempPath;
    TextBuffer backupPath;
};

// What a copy does with each record of the old version before it is written.
enum class Disposition { Keep, Drop };

// Copies every readable record of the data file into `out`, letting `handle`
// change or drop each. False when the old version could not be read in full or a
// write failed; `damageMet` tells whether damaged stretches were skipped.
template <typename Handler>
bool copyRecords(ScheduleReader& reader, NewVersion& out, bool& damageMet, Handler handle) {
    StoredSchedule entry;
    while (reader.next(entry)) {
        if (handle(entry.record) == Disposition::Drop) continue;
        if (!out.put(entry.record, entry.title, entry.content)) return false;
    }
    damageMet = reader.damaged();
    return !reader.readFailed();
}

}  // namespace

bool appendSchedule(const char* path, ScheduleRecord& record, const TextBuffer& title,
                    const TextBuffer& content, bool& damageMet) {
    damageMet = false;
    if (!path) return false;
    NewVersion out;
    bool matched = false;
    uint32_t smallest = 0;
    uint32_t largest = 0;
    if (fileExists(path)) {
        ScheduleReader reader;
        if (!reader.open(path) || !out.open(path)) return false;
        const bool copied = copyRecords(reader, out, damageMet, [&](const ScheduleRecord& old) {
            if (sameDefinitionIgnoringIndex(old, record)) {
                smallest = matched && smallest < old.duplicateIndex ? smallest : old.duplicateIndex;
                largest = matched && largest > old.duplicateIndex ? largest : old.duplicateIndex;
                matched = true;
            }
            return Disposition::Keep;
        });
        if (!copied) return false;
    } else if (!out.open(path)) {
        return false;
    }
    record.duplicateIndex = !matched ? 0 : smallest > 0 ? smallest - 1 : largest + 1;
    return out.put(record, title, content) && out.commit(path);
}

bool rewriteSchedules(const char* path, const ScheduleRecord& key, RewriteMode mode, const SYSTEMTIME& now,
                      bool* replaced) {
    if (replaced) *replaced = false;
    if (!path || !fileExists(path)) return false;
    ScheduleReader reader;
    NewVersion out;
    if (!reader.open(path) || !out.open(path)) return false;
    bool found = false;
    bool damageMet = false;
    const bool copied = copyRecords(reader, out, damageMet, [&](ScheduleRecord& record) {
        if (!found && sameDefinition(record, key)) {
            found = true;
            if (mode == REWRITE_DELETE || record.type == SpecificDate) return Disposition::Drop;
            record.lastNotified = now;
        }
        // A stamp in the future was left by a clock that was later set back.
        if (laterToTheMinute(record.lastNotified, now)) record.lastNotified = SYSTEMTIME{};
        return Disposition::Keep;
    });
    // The old version must be closed before it can be swapped out.
    reader.close();
    const bool committed = copied && out.commit(path);
    if (replaced) *replaced = committed;
    return committed && !damageMet;
}
