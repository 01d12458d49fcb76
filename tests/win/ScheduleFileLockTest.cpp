// The data file held open by another program: every change is refused and the
// file keeps its content.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "schedule/ScheduleFile.h"

namespace {

// The file's bytes, or an empty string when it cannot be read.
std::string bytesOf(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
        std::fclose(file);
    }
    return bytes;
}

ScheduleRecord weeklyAt(WORD minute, uint32_t contentLength) {
    SYSTEMTIME when{};
    when.wDayOfWeek = 1;
    when.wHour = 9;
    when.wMinute = minute;
    return makeScheduleRecord(Weekday, when, 0, contentLength);
}

class HeldDataFile : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        ASSERT_NE(GetTempPathA(sizeof folder, folder), 0u);
        path = std::string(folder) + "quillet-held-" + std::to_string(GetCurrentProcessId()) + ".dat";
        DeleteFileA(path.c_str());
        TextBuffer content;
        content.assign("held");
        for (WORD minute = 0; minute < 3; ++minute) {
            ScheduleRecord record = weeklyAt(minute, 4);
            bool damageMet = false;
            ASSERT_TRUE(appendSchedule(path.c_str(), record, TextBuffer(), content, damageMet));
        }
        before = bytesOf(path);
        ASSERT_EQ(before.size(), 3u * 64u);
    }
    void TearDown() override {
        DeleteFileA(path.c_str());
        DeleteFileA((path + SCHEDULE_BACKUP_SUFFIX).c_str());
        DeleteFileA((path + SCHEDULE_TEMP_SUFFIX).c_str());
    }

    // Change 0 stamps, 1 deletes, 2 adds; true when it was made.
    bool makeChange(int change) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        if (change == 0) return rewriteSchedules(path.c_str(), weeklyAt(1, 0), REWRITE_STAMP, now);
        if (change == 1) return rewriteSchedules(path.c_str(), weeklyAt(2, 0), REWRITE_DELETE, now);
        ScheduleRecord added = weeklyAt(30, 0);
        bool damageMet = false;
        return appendSchedule(path.c_str(), added, TextBuffer(), TextBuffer(), damageMet);
    }

    // Tries every change while a fault is in place; `lift` ends it before the checks.
    template <typename Lift>
    void expectChangesRefused(Lift lift) {
        const bool stamped = makeChange(0);
        const bool deleted = makeChange(1);
        const bool appended = makeChange(2);
        lift();
        EXPECT_FALSE(stamped);
        EXPECT_FALSE(deleted);
        EXPECT_FALSE(appended);
        EXPECT_EQ(bytesOf(path), before);
        EXPECT_EQ(GetFileAttributesA((path + SCHEDULE_TEMP_SUFFIX).c_str()), INVALID_FILE_ATTRIBUTES);
    }

    HANDLE hold(const std::string& file, DWORD sharing) {
        const HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(held, INVALID_HANDLE_VALUE);
        return held;
    }

    std::string path;
    std::string before;
};

TEST_F(HeldDataFile, OpenWithoutSharingRefusesEveryChange) {
    const HANDLE held = hold(path, 0);
    expectChangesRefused([&] { CloseHandle(held); });
}

TEST_F(HeldDataFile, OpenForReadingOnlyRefusesTheSwap) {
    const HANDLE held = hold(path, FILE_SHARE_READ);
    expectChangesRefused([&] { CloseHandle(held); });
}

// A read-only data file, and a backup that is read-only or held by another
// program (which Windows would not let the clock delete): each change is made
// whole or not at all. Made, the backup holds the version before it; refused, the
// data file is as it was. (Wine, run here as root, replaces read-only files and
// copies over a held backup, so the changes go through; Windows refuses the
// read-only ones, as the core's fault table shows.)
TEST_F(HeldDataFile, AReadOnlyDataFileOrAnUndeletableBackupLosesNothing) {
    const std::string backup = path + SCHEDULE_BACKUP_SUFFIX;
    const char* const faults[] = {"read-only data file", "read-only backup", "backup held without delete sharing"};
    for (int fault = 0; fault < 3; ++fault) {
        SCOPED_TRACE(faults[fault]);
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(before.data(), 1, before.size(), out);
        std::fclose(out);
        ASSERT_TRUE(CopyFileA(path.c_str(), backup.c_str(), FALSE));
        const std::string& readOnly = fault == 0 ? path : backup;
        if (fault < 2) SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
        const HANDLE held = fault == 2 ? hold(backup, FILE_SHARE_READ | FILE_SHARE_WRITE) : INVALID_HANDLE_VALUE;
        for (int change = 0; change < 3; ++change) {
            const std::string prior = bytesOf(path);
            if (makeChange(change)) {
                EXPECT_NE(bytesOf(path), prior) << change;
                EXPECT_EQ(bytesOf(backup), prior) << change;
            } else {
                EXPECT_EQ(bytesOf(path), prior) << change;
            }
            StoredScheduleList list;
            EXPECT_TRUE(loadAllSchedules(path.c_str(), list)) << "whole and undamaged after change " << change;
        }
        SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        std::printf("%s: %s\n", faults[fault], bytesOf(path) == before ? "refused" : "made");
    }
}

TEST_F(HeldDataFile, ChangesGoThroughOnceItIsClosed) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_TRUE(rewriteSchedules(path.c_str(), weeklyAt(1, 0), REWRITE_DELETE, now));
    EXPECT_EQ(bytesOf(path), before.substr(0, 64) + before.substr(128));
    EXPECT_EQ(bytesOf(path + SCHEDULE_BACKUP_SUFFIX), before);
}

}  // namespace
