// Kills a process in the middle of changing the data file (adding, stamping and
// deleting in turn), hundreds of times at random moments, and checks after each
// kill that every schedule is still there, either as it was or as the interrupted
// rewrite was making it. The killed process is a native child running the core's
// file code; QUILLET_CRASH_ROUNDS sets the number of kills (the fault script runs
// a thousand).
#ifndef _WIN32
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AskedCount.h"

#include "ScheduleFiles.h"
#include "schedule/ScheduleFile.h"

using namespace schedulefiles;

namespace {

constexpr int SCHEDULES = 30;
constexpr int DEFAULT_ROUNDS = 300;

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

// A schedule the killed process adds and deletes again; its minute tells the
// iteration (modulo 60) so that nothing else has its definition.
RecordFields passingSchedule(int iteration) {
    RecordFields fields = weekly(0, 0, static_cast<WORD>(iteration % 60), "passing");
    fields.type = Monthly;
    return fields;
}

// Adds a passing schedule, stamps one, deletes the passing one again, round and
// round; each iteration starts with another of the three, so that kills early in
// the process's life hit every kind of rewrite.
[[noreturn]] void changeForever(const std::string& path, int iteration) {
    const SYSTEMTIME now = stampOf(iteration);
    const RecordFields passing = passingSchedule(iteration);
    TextBuffer title, content;
    content.assign(passing.content.c_str());
    ScheduleRecord added = recordOf(passing);
    for (int step = iteration % 3, n = 0;; step = (step + 1) % 3) {
        bool damageMet = false;
        if (step == 0) appendSchedule(path.c_str(), added, title, content, damageMet);
        if (step == 1) rewriteSchedules(path.c_str(), recordOf(scheduleNumber(n++ % SCHEDULES)), REWRITE_STAMP, now);
        if (step == 2) rewriteSchedules(path.c_str(), added, REWRITE_DELETE, now);
    }
}

TEST(ScheduleCrash, KilledRewritesNeverLoseASchedule) {
    ScratchFolder folder;
    const std::string path = folder.dataFile();
    std::string bytes;
    for (int n = 0; n < SCHEDULES; ++n) bytes += recordBytes(scheduleNumber(n));
    writeBytes(path, bytes);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
    // The test command's run is bounded in time as well; a run that asks for its
    // rounds makes them all.
    const int rounds = askedCount("QUILLET_CRASH_ROUNDS", DEFAULT_ROUNDS);
    const bool bounded = !std::getenv("QUILLET_CRASH_ROUNDS");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    int iterations = 0;
    int killedWhileWriting = 0;
    int iterationsThatStamped = 0;
    int passingLeftOver = 0;
    for (; iterations < rounds && (!bounded || std::chrono::steady_clock::now() < deadline); ++iterations) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) changeForever(path, iterations);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        killedWhileWriting += fileExists((path + SCHEDULE_TEMP_SUFFIX).c_str());

        StoredScheduleList list;
        ASSERT_TRUE(loadAllSchedules(path.c_str(), list)) << "complete and undamaged after kill " << iterations;
        // The passing schedule may have been added and not yet deleted: it is last.
        const RecordFields passing = passingSchedule(iterations);
        const bool passingThere = list.size() == SCHEDULES + 1u && sameDefinition(list.at(SCHEDULES)->record, recordOf(passing));
        ASSERT_EQ(list.size(), static_cast<uint32_t>(SCHEDULES) + passingThere) << "after kill " << iterations;
        if (passingThere) {
            ++passingLeftOver;
            ASSERT_STREQ(list.at(SCHEDULES)->content.c_str(), "passing");
            ASSERT_TRUE(rewriteSchedules(path.c_str(), recordOf(passing), REWRITE_DELETE, stampOf(iterations)));
        }
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
    std::printf("%d kills, %d while a new version was being written, %d after stamping, %d between adding and "
                "deleting\n",
                iterations, killedWhileWriting, iterationsThatStamped, passingLeftOver);
    EXPECT_GE(iterations, bounded ? 100 : rounds);
    EXPECT_GT(killedWhileWriting, 0) << "no kill hit a rewrite";
    EXPECT_GT(iterationsThatStamped, 0) << "no process got a rewrite done";
}

}  // namespace
#endif
