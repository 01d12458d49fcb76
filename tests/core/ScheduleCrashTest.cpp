// Kills a process in the middle of rewriting the data file, hundreds of times at
// random moments, and checks after each kill that every schedule is still there,
// either as it was or as the interrupted rewrite was making it.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ScheduleFiles.h"
#include "schedule/ScheduleFile.h"

using namespace schedulefiles;

namespace {

constexpr int SCHEDULES = 30;
constexpr int ITERATIONS = 300;

const SYSTEMTIME FIRST_STAMP = makeSystemTime(2025, 1, 1);

// The stamp of iteration n: n minutes after the first, so later iterations never
// make earlier stamps look like stamps from the future.
SYSTEMTIME stampOf(int iteration) {
    FILETIME ft;
    SystemTimeToFileTime(&FIRST_STAMP, &ft);
    const FILETIME moved = fileTimeFromValue(fileTimeValue(ft) + static_cast<ULONGLONG>(iteration) * FILETIME_MINUTE);
    SYSTEMTIME stamp;
    FileTimeToSystemTime(&moved, &stamp);
    return stamp;
}

// Which iteration a record's stamp came from; -1 for never stamped, -2 for a stamp
// that no iteration wrote.
int iterationOf(const SYSTEMTIME& stamp, int upTo) {
    const SYSTEMTIME never{};
    if (std::memcmp(&stamp, &never, sizeof stamp) == 0) return -1;
    for (int i = 0; i <= upTo; ++i) {
        const SYSTEMTIME candidate = stampOf(i);
        if (std::memcmp(&stamp, &candidate, sizeof stamp) == 0) return i;
    }
    return -2;
}

RecordFields scheduleNumber(int n) {
    return weekly(static_cast<WORD>(n % 7), static_cast<WORD>(n % 24), static_cast<WORD>(n),
                  "schedule " + std::to_string(n) + std::string(static_cast<size_t>(n) * 5, '.'));
}

[[noreturn]] void stampForever(const std::string& path, int iteration) {
    const SYSTEMTIME now = stampOf(iteration);
    for (int n = 0;; n = (n + 1) % SCHEDULES) rewriteSchedules(path.c_str(), recordOf(scheduleNumber(n)), REWRITE_STAMP, now);
}

TEST(ScheduleCrash, KilledRewritesNeverLoseASchedule) {
    ScratchFolder folder;
    const std::string path = folder.dataFile();
    std::string bytes;
    for (int n = 0; n < SCHEDULES; ++n) bytes += recordBytes(scheduleNumber(n));
    writeBytes(path, bytes);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMicroseconds(0, 10000);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    int iterations = 0;
    int killedWhileWriting = 0;
    int iterationsThatStamped = 0;
    for (; iterations < ITERATIONS && std::chrono::steady_clock::now() < deadline; ++iterations) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) stampForever(path, iterations);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        killedWhileWriting += fileExists((path + SCHEDULE_TEMP_SUFFIX).c_str());

        StoredScheduleList list;
        ASSERT_TRUE(loadAllSchedules(path.c_str(), list)) << "complete and undamaged after kill " << iterations;
        ASSERT_EQ(list.size(), static_cast<uint32_t>(SCHEDULES)) << "after kill " << iterations;
        bool stampedNow = false;
        for (int n = 0; n < SCHEDULES; ++n) {
            const StoredSchedule& entry = *list.at(static_cast<uint32_t>(n));
            const RecordFields expected = scheduleNumber(n);
            ASSERT_TRUE(sameDefinition(entry.record, recordOf(expected))) << n;
            ASSERT_EQ(std::string(entry.content.c_str()), expected.content) << n;
            const int from = iterationOf(entry.record.lastNotified, iterations);
            ASSERT_GE(from, -1) << "schedule " << n << " holds a stamp nobody wrote";
            stampedNow = stampedNow || from == iterations;
        }
        iterationsThatStamped += stampedNow;
    }
    std::printf("%d kills, %d while a new version was being written, %d after stamping\n", iterations,
                killedWhileWriting, iterationsThatStamped);
    EXPECT_GE(iterations, 100);
    EXPECT_GT(killedWhileWriting, 0) << "no kill hit a rewrite";
    EXPECT_GT(iterationsThatStamped, 0) << "no process got a rewrite done";
}

}  // namespace
#endif
