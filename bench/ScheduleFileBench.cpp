// The day reload, one stamping rewrite and one append over data files of 100,
// 1,000 and 10,000 schedules, each beside a plain read-and-write copy of the same
// file: once as a bare copy, and once forced to the disk and renamed into place
// as the rewrite lands.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "BenchSchedules.h"
#include "schedule/ScheduleFile.h"

namespace {

const SYSTEMTIME TODAY = [] {
    SYSTEMTIME t{};
    t.wYear = 2025;
    t.wMonth = 3;
    t.wDayOfWeek = 1;
    t.wDay = 10;
    t.wHour = 10;
    t.wMinute = 30;
    return t;
}();

// A folder with a data file of `count` schedules of every type, each with a
// short Japanese text, and its pristine copy.
struct BenchFiles {
    explicit BenchFiles(int count) {
        folder = std::filesystem::temp_directory_path() /
                 ("quillet-bench-" + std::to_string(getpid()) + "-" + std::to_string(count));
        std::filesystem::create_directories(folder);
        data = (folder / SCHEDULE_FILE_NAME).string();
        pristine = (folder / "pristine.dat").string();
        copy = (folder / "copy.dat").string();
        std::FILE* file = std::fopen(pristine.c_str(), "wb");
        middle = writeBenchSchedules(file, count);  // a recurring schedule, stamped in place
        std::fclose(file);
        restore();
    }
    ~BenchFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void restore() const {
        std::filesystem::copy_file(pristine, data, std::filesystem::copy_options::overwrite_existing);
    }

    std::filesystem::path folder;
    std::string data, pristine, copy;
    ScheduleRecord middle{};
};

void reportBytes(benchmark::State& state, const BenchFiles& files) {
    state.counters["file_kB"] = static_cast<double>(std::filesystem::file_size(files.data)) / 1024.0;
}

void DayReload(benchmark::State& state) {
    const BenchFiles files(static_cast<int>(state.range(0)));
    const uint16_t days = daysInMonthOf(TODAY);
    for (auto _ : state) {
        ScheduleReader reader;
        reader.open(files.data.c_str());
        StoredSchedule entry;
        int today = 0;
        while (reader.next(entry)) today += pendingOn(entry.record, TODAY, days);
        benchmark::DoNotOptimize(today);
    }
    reportBytes(state, files);
}

void StampingRewrite(benchmark::State& state) {
    const BenchFiles files(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(rewriteSchedules(files.data.c_str(), files.middle, REWRITE_STAMP, TODAY));
    reportBytes(state, files);
}

void Append(benchmark::State& state) {
    const BenchFiles files(static_cast<int>(state.range(0)));
    TextBuffer title, content;
    content.assign("追加した予定");
    for (auto _ : state) {
        ScheduleRecord record = files.middle;
        record.contentLength = content.length();
        bool damageMet = false;
        benchmark::DoNotOptimize(appendSchedule(files.data.c_str(), record, title, content, damageMet));
        state.PauseTiming();
        files.restore();
        state.ResumeTiming();
    }
    reportBytes(state, files);
}

// Reads the whole file and writes it to another; `durable` also forces it to the
// disk, renames it over the copy and forces the folder (and so the new name) to
// the disk: only then is the copy on the disk under its name, as a rewrite is.
void copyFile(const BenchFiles& files, bool durable) {
    std::FILE* in = std::fopen(files.data.c_str(), "rb");
    const std::string target = durable ? files.copy + ".new" : files.copy;
    std::FILE* out = std::fopen(target.c_str(), "wb");
    std::vector<char> chunk(64 * 1024);
    size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), in)) > 0) std::fwrite(chunk.data(), 1, n, out);
    std::fclose(in);
    if (durable) {
        std::fflush(out);
        fsync(fileno(out));
    }
    std::fclose(out);
    if (!durable) return;
    std::rename(target.c_str(), files.copy.c_str());
    const int folder = open(files.folder.c_str(), O_RDONLY | O_DIRECTORY);
    fsync(folder);
    close(folder);
}

void PlainCopy(benchmark::State& state) {
    const BenchFiles files(static_cast<int>(state.range(0)));
    for (auto _ : state) copyFile(files, false);
    reportBytes(state, files);
}

void PlainCopyToDisk(benchmark::State& state) {
    const BenchFiles files(static_cast<int>(state.range(0)));
    for (auto _ : state) copyFile(files, true);
    reportBytes(state, files);
}

#define SIZES ->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)
BENCHMARK(DayReload) SIZES;
BENCHMARK(StampingRewrite) SIZES;
BENCHMARK(Append) SIZES;
BENCHMARK(PlainCopy) SIZES;
BENCHMARK(PlainCopyToDisk) SIZES;

}  // namespace

BENCHMARK_MAIN();
