#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "ScheduleFiles.h"
#include "schedule/FileReplace.h"
#include "schedule/ScheduleFile.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

using namespace schedulefiles;

namespace {

const SYSTEMTIME NOW = makeSystemTime(2025, 3, 10, 10, 30);

bool append(const std::string& path, const RecordFields& fields, uint32_t* index = nullptr) {
    ScheduleRecord record = recordOf(fields);
    TextBuffer title, content;
    title.assign(fields.title.c_str());
    content.assign(fields.content.c_str());
    bool damageMet = true;
    const bool appended = appendSchedule(path.c_str(), record, title, content, damageMet);
    EXPECT_FALSE(damageMet);
    if (index) *index = record.duplicateIndex;
    return appended;
}

TEST(ScheduleRewrite, AppendCreatesTheFileAndAssignsDuplicateIndexes) {
    ScratchFolder folder;
    const std::string path = folder.dataFile();
    uint32_t index = 99;
    ASSERT_TRUE(append(path, weekly(1, 9, 0, "first"), &index));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(readBytes(path), recordBytes(weekly(1, 9, 0, "first")));
    EXPECT_FALSE(fileExists(folder.backupFile().c_str())) << "no backup of a file that did not exist";

    ASSERT_TRUE(append(path, weekly(1, 9, 0, "second"), &index));
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(readBytes(folder.backupFile()), recordBytes(weekly(1, 9, 0, "first")));
    ASSERT_TRUE(append(path, weekly(2, 9, 0, "other day"), &index));
    EXPECT_EQ(index, 0u);
    ASSERT_TRUE(append(path, weekly(1, 9, 0, "third"), &index));
    EXPECT_EQ(index, 2u);

    // Drop index 0 and 2: with only index 1 left the next one gets 0.
    ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(weekly(1, 9, 0, "", 0)), REWRITE_DELETE, NOW));
    ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(weekly(1, 9, 0, "", 2)), REWRITE_DELETE, NOW));
    ASSERT_TRUE(append(path, weekly(1, 9, 0, "fourth"), &index));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(readBytes(path), recordBytes(weekly(1, 9, 0, "second", 1)) + recordBytes(weekly(2, 9, 0, "other day")) +
                                   recordBytes(weekly(1, 9, 0, "fourth", 0)));
}

TEST(ScheduleRewrite, StampingChangesOnlyTheFirstEqualRecordAndKeepsTheBackup) {
    ScratchFolder folder;
    const std::string path = folder.dataFile();
    RecordFields oneTime;
    oneTime.type = SpecificDate;
    oneTime.when = makeSystemTime(2025, 3, 10, 9, 0);
    oneTime.content = "once";
    const std::string before = recordBytes(weekly(1, 9, 0, "twin a")) + recordBytes(oneTime) +
                               recordBytes(weekly(1, 9, 0, "twin b")) + recordBytes(weekly(2, 8, 0, "other"));
    writeBytes(path, before);

    ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(weekly(1, 9, 0, "")), REWRITE_STAMP, NOW));
    RecordFields stamped = weekly(1, 9, 0, "twin a");
    stamped.lastNotified = NOW;
    const std::string afterStamp = recordBytes(stamped) + recordBytes(oneTime) + recordBytes(weekly(1, 9, 0, "twin b")) +
                                   recordBytes(weekly(2, 8, 0, "other"));
    EXPECT_EQ(readBytes(path), afterStamp);
    EXPECT_EQ(readBytes(folder.backupFile()), before);

    // Stamping a one-time schedule drops it.
    ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(oneTime), REWRITE_STAMP, NOW));
    const std::string afterDrop =
        recordBytes(stamped) + recordBytes(weekly(1, 9, 0, "twin b")) + recordBytes(weekly(2, 8, 0, "other"));
    EXPECT_EQ(readBytes(path), afterDrop);
    EXPECT_EQ(readBytes(folder.backupFile()), afterStamp);

    // Deleting drops a recurring one; a key that matches nothing copies the file unchanged.
    ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(weekly(2, 8, 0, "")), REWRITE_DELETE, NOW));
    EXPECT_EQ(readBytes(path), recordBytes(stamped) + recordBytes(weekly(1, 9, 0, "twin b")));
    const std::string kept = readBytes(path);
    ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(weekly(6, 0, 0, "")), REWRITE_STAMP, NOW));
    EXPECT_EQ(readBytes(path), kept);

    EXPECT_FALSE(rewriteSchedules(folder.file("absent.dat").c_str(), recordOf(oneTime), REWRITE_STAMP, NOW));
    EXPECT_FALSE(fileExists(folder.file("absent.dat").c_str()));
}

TEST(ScheduleRewrite, FutureStampsAreClearedAndDamageIsDropped) {
    ScratchFolder folder;
    const std::string path = folder.dataFile();
    RecordFields future = weekly(3, 7, 0, "from the future");
    future.lastNotified = makeSystemTime(2025, 3, 10, 10, 31);
    RecordFields thisMinute = weekly(4, 7, 0, "this minute");
    thisMinute.lastNotified = NOW;
    thisMinute.lastNotified.wSecond = 59;
    const std::string damaged = std::string(17, '\x01');
    writeBytes(path, recordBytes(future) + damaged + recordBytes(thisMinute) + recordBytes(weekly(5, 7, 0, "x")));

    bool replaced = false;
    EXPECT_FALSE(rewriteSchedules(path.c_str(), recordOf(weekly(5, 7, 0, "")), REWRITE_DELETE, NOW, &replaced))
        << "damage makes the result false";
    EXPECT_TRUE(replaced) << "but the file was rewritten";
    future.lastNotified = SYSTEMTIME{};
    EXPECT_EQ(readBytes(path), recordBytes(future) + recordBytes(thisMinute));

    // Appending over damage says so and still appends.
    writeBytes(path, recordBytes(future) + std::string(70, '\x01'));
    ScheduleRecord record = recordOf(weekly(1, 1, 1, ""));
    TextBuffer none;
    bool damageMet = false;
    ASSERT_TRUE(appendSchedule(path.c_str(), record, none, none, damageMet));
    EXPECT_TRUE(damageMet);
    EXPECT_EQ(readBytes(path), recordBytes(future) + recordBytes(weekly(1, 1, 1, "")));
}

TEST(ScheduleRewrite, StoredScheduleListOwnsAndRemovesEntries) {
    ScratchFolder folder;
    std::string bytes;
    for (int i = 0; i < 40; ++i) bytes += recordBytes(weekly(1, 9, static_cast<WORD>(i), "n" + std::to_string(i)));
    writeBytes(folder.dataFile(), bytes);
    StoredScheduleList list;
    ASSERT_TRUE(loadAllSchedules(folder.dataFile().c_str(), list));
    ASSERT_EQ(list.size(), 40u);
    StoredSchedule* second = list.at(1);
    EXPECT_TRUE(removeStoredSchedule(list, second));
    EXPECT_FALSE(removeStoredSchedule(list, second)) << "no longer in the list";
    ASSERT_EQ(list.size(), 39u);
    EXPECT_STREQ(list.at(0)->content.c_str(), "n0");
    EXPECT_STREQ(list.at(1)->content.c_str(), "n2");
    EXPECT_STREQ(list.at(38)->content.c_str(), "n39");
    clearStoredSchedules(list);
    EXPECT_EQ(list.size(), 0u);
    ASSERT_TRUE(loadAllSchedules(folder.dataFile().c_str(), list)) << "the list is usable again";
    EXPECT_EQ(list.size(), 40u);
}

// Write failures: every byte goes through this, which stops after a budget.
size_t writeBudget = 0;
size_t failingWrite(const void* data, size_t size, size_t count, std::FILE* file) {
    const size_t wanted = size * count;
    const size_t granted = wanted < writeBudget ? wanted : writeBudget;
    writeBudget -= granted;
    const size_t written = granted ? std::fwrite(data, 1, granted, file) : 0;
    if (written < wanted) errno = ENOSPC;
    return size ? written / size : 0;
}

// Replaces some of the file-system calls for the life of the object.
struct InjectedFaults {
    explicit InjectedFaults(void (*inject)(ScheduleFileCalls&)) { inject(scheduleFileCalls); }
    ~InjectedFaults() { scheduleFileCalls = saved; }
    const ScheduleFileCalls saved = scheduleFileCalls;
};

// The three changes of the data file, each false when it did not happen.
const struct Change {
    const char* name;
    bool (*run)(const std::string& path);
} CHANGES[] = {
    {"add",
     [](const std::string& path) {
         ScheduleRecord record = recordOf(weekly(6, 6, 6, "new"));
         TextBuffer title, content;
         content.assign("new");
         bool damageMet = false;
         return appendSchedule(path.c_str(), record, title, content, damageMet);
     }},
    {"stamp",
     [](const std::string& path) {
         return rewriteSchedules(path.c_str(), recordOf(weekly(2, 9, 0, "")), REWRITE_STAMP, NOW);
     }},
    {"delete",
     [](const std::string& path) {
         return rewriteSchedules(path.c_str(), recordOf(weekly(3, 9, 0, "")), REWRITE_DELETE, NOW);
     }},
};

std::string fiveSchedules() {
    std::string bytes;
    for (int i = 0; i < 5; ++i) bytes += recordBytes(weekly(static_cast<WORD>(i), 9, 0, "text " + std::to_string(i)));
    return bytes;
}

TEST(ScheduleRewrite, AWriteThatFailsPartWayLeavesTheDataFileAsItWas) {
    ScratchFolder folder;
    const std::string path = folder.dataFile();
    const std::string before = fiveSchedules();
    writeBytes(path, before);
    writeBytes(folder.backupFile(), "older");
    // Every budget short of the smallest new version, the one without a deleted record.
    for (size_t budget = 0; budget < before.size() - before.size() / 5; budget += 13) {
        for (const Change& change : CHANGES) {
            writeBudget = budget;
            InjectedFaults failing([](ScheduleFileCalls& calls) { calls.write = failingWrite; });
            EXPECT_FALSE(change.run(path)) << change.name << " with " << budget << " bytes written";
        }
        ASSERT_EQ(readBytes(path), before) << "budget " << budget;
        EXPECT_FALSE(fileExists((path + SCHEDULE_TEMP_SUFFIX).c_str())) << "the unfinished version is removed";
    }
    // With enough room both succeed.
    writeBudget = 1 << 20;
    InjectedFaults roomy([](ScheduleFileCalls& calls) { calls.write = failingWrite; });
    EXPECT_TRUE(CHANGES[1].run(path));
    EXPECT_EQ(readBytes(folder.backupFile()), before);
}

TEST(ScheduleRewrite, EveryFileSystemFaultLeavesTheDataFileAsItWasUntilItIsGone) {
    const struct {
        const char* fault;
        void (*inject)(ScheduleFileCalls&);
    } faults[] = {
        {"full disk (the flush fails)", [](ScheduleFileCalls& c) { c.flushToDisk = [](std::FILE*) { return false; }; }},
        {"read-only folder (no new file)",
         [](ScheduleFileCalls& c) { c.createNew = [](const char*) -> std::FILE* { return nullptr; }; }},
        {"data file held or read-only (no swap)",
         [](ScheduleFileCalls& c) { c.swapIn = [](const char*, const char*) { return false; }; }},
        {"undeletable backup", [](ScheduleFileCalls& c) { c.keepBackup = [](const char*, const char*) { return false; }; }},
    };
    for (const auto& fault : faults) {
        for (const Change& change : CHANGES) {
            SCOPED_TRACE(std::string(fault.fault) + ", " + change.name);
            ScratchFolder folder;
            const std::string path = folder.dataFile();
            const std::string before = fiveSchedules();
            writeBytes(path, before);
            writeBytes(folder.backupFile(), "older");
            {
                InjectedFaults failing(fault.inject);
                EXPECT_FALSE(change.run(path));
            }
            EXPECT_EQ(readBytes(path), before);
            EXPECT_FALSE(fileExists((path + SCHEDULE_TEMP_SUFFIX).c_str())) << "the unfinished version is removed";
            // Once the fault is gone the same change goes through.
            EXPECT_TRUE(change.run(path));
            EXPECT_EQ(readBytes(folder.backupFile()), before);
            EXPECT_NE(readBytes(path), before);
        }
    }
}

#ifndef _WIN32
std::vector<ScheduleRecord> recordsIn(const std::string& path) {
    StoredScheduleList list;
    loadAllSchedules(path.c_str(), list);
    std::vector<ScheduleRecord> records;
    for (const StoredSchedule* entry : list) records.push_back(entry->record);
    return records;
}

TEST(ScheduleRewrite, AFullDiskLeavesTheDataFileAsItWas) {
    // QUILLET_FULL_DISK_FOLDER names a small file system of its own (the fault
    // script mounts one), which is filled up for real. Otherwise the file size
    // limit makes the system refuse bytes past it, as a full disk does; both on the
    // real write and flush path of the runtime.
    const char* smallDisk = std::getenv("QUILLET_FULL_DISK_FOLDER");
    ScratchFolder folder;
    const std::string path = smallDisk ? std::string(smallDisk) + "/" + SCHEDULE_FILE_NAME : folder.dataFile();
    const std::string filler = path + ".filler";
    std::string before;
    for (int i = 0; i < 300; ++i) before += recordBytes(weekly(static_cast<WORD>(i % 7), 9, 0, std::string(200, 'a')));
    writeBytes(path, before);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = before.size() / 2;
    if (smallDisk) {
        std::FILE* fill = std::fopen(filler.c_str(), "wb");
        ASSERT_NE(fill, nullptr);
        const std::string chunk(4096, 'f');
        while (std::fwrite(chunk.data(), 1, chunk.size(), fill) == chunk.size() && std::fflush(fill) == 0) {
        }
        std::fclose(fill);
    } else {
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    bool changed[3];
    for (size_t i = 0; i < 3; ++i) changed[i] = CHANGES[i].run(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(changed[i]) << CHANGES[i].name;
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(recordsIn(path).size(), 300u);
    EXPECT_FALSE(fileExists((path + SCHEDULE_TEMP_SUFFIX).c_str())) << "the unfinished version is removed";
    if (smallDisk) {
        removeFile(filler.c_str());
        EXPECT_TRUE(CHANGES[2].run(path)) << "with room again";
        for (const char* suffix : {"", SCHEDULE_BACKUP_SUFFIX}) removeFile((path + suffix).c_str());
    }
}
#endif

}  // namespace
