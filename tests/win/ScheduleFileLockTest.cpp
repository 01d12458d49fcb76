// The data file held open by another program: every change is refused and the
// file keeps its content.
#include <gtest/gtest.h>

#include <windows.h>

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

    // Tries every change while the file is open with the given sharing.
    void expectChangesRefused(DWORD sharing) {
        const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const bool stamped = rewriteSchedules(path.c_str(), weeklyAt(1, 0), REWRITE_STAMP, now);
        const bool deleted = rewriteSchedules(path.c_str(), weeklyAt(2, 0), REWRITE_DELETE, now);
        ScheduleRecord added = weeklyAt(30, 0);
        bool damageMet = false;
        const bool appended = appendSchedule(path.c_str(), added, TextBuffer(), TextBuffer(), damageMet);
        CloseHandle(held);
        EXPECT_FALSE(stamped);
        EXPECT_FALSE(deleted);
        EXPECT_FALSE(appended);
        EXPECT_EQ(bytesOf(path), before);
        EXPECT_EQ(GetFileAttributesA((path + SCHEDULE_TEMP_SUFFIX).c_str()), INVALID_FILE_ATTRIBUTES);
    }

    std::string path;
    std::string before;
};

TEST_F(HeldDataFile, OpenWithoutSharingRefusesEveryChange) { expectChangesRefused(0); }

TEST_F(HeldDataFile, OpenForReadingOnlyRefusesTheSwap) { expectChangesRefused(FILE_SHARE_READ); }

TEST_F(HeldDataFile, ChangesGoThroughOnceItIsClosed) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_TRUE(rewriteSchedules(path.c_str(), weeklyAt(1, 0), REWRITE_DELETE, now));
    EXPECT_EQ(bytesOf(path), before.substr(0, 64) + before.substr(128));
    EXPECT_EQ(bytesOf(path + SCHEDULE_BACKUP_SUFFIX), before);
}

}  // namespace
