// Start-up and memory of windowed programs, started in turn, several runs each.
// Start-up is the time from the CreateProcess call to the moment the program's
// first visible top-level window has no update region left, i.e. its first
// WM_PAINT has been handled: the face is on the screen. Memory is read with
// GetProcessMemoryInfo one second later, as another program (Task Manager, the
// soak script) reads it; private bytes are the commit charge, PagefileUsage,
// which Windows also reports as PrivateUsage (Wine fills only the former). Prints
// the median and range of each figure.
//   startup_bench RUNS PROGRAM...
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD POLL_MS = 2;
constexpr DWORD PAINT_TIMEOUT_MS = 60000;
constexpr DWORD SETTLE_MS = 1000;
constexpr DWORD CLOSE_TIMEOUT_MS = 10000;

struct Run {
    double startMs = 0;
    double workingSetKb = 0, privateKb = 0;
};

struct WindowSearch {
    DWORD processId;
    HWND shown;      // visible, whether painted or not
    bool painted;
};

BOOL CALLBACK inspectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    search->shown = window;
    search->painted = !GetUpdateRect(window, nullptr, FALSE);
    return FALSE;
}

double millisecondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void stop(const PROCESS_INFORMATION& process, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, CLOSE_TIMEOUT_MS) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, CLOSE_TIMEOUT_MS);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// One start of `program`; false when it could not be started or never painted.
// `pendingSeen` counts the runs in which the window was seen shown but unpainted,
// which shows that the update region is really read across processes.
bool measureOnce(const std::string& program, Run& run, int& pendingSeen) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    LARGE_INTEGER started, now;
    QueryPerformanceCounter(&started);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return false;
    }
    WindowSearch search = {process.dwProcessId, nullptr, false};
    bool pending = false;
    for (;;) {
        search.shown = nullptr;
        EnumWindows(inspectWindow, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.shown && search.painted) break;
        pending |= search.shown != nullptr;
        if (millisecondsBetween(started, now) > PAINT_TIMEOUT_MS ||
            WaitForSingleObject(process.hProcess, POLL_MS) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "%s showed no painted window\n", program.c_str());
            stop(process, search.shown);
            return false;
        }
    }
    run.startMs = millisecondsBetween(started, now);
    pendingSeen += pending;
    Sleep(SETTLE_MS);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    const bool read = GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    run.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    run.privateKb = static_cast<double>(memory.PagefileUsage) / 1024.0;
    stop(process, search.shown);
    if (!read) std::fprintf(stderr, "cannot read the memory of %s\n", program.c_str());
    return read;
}

struct Spread {
    double median, low, high;
};

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 2 ? std::atoi(argv[1]) : 0;
    if (runs < 1) {
        std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM...\n");
        return 2;
    }
    const std::vector<std::string> programs(argv + 2, argv + argc);
    std::vector<std::vector<Run>> results(programs.size());
    std::vector<int> pendingSeen(programs.size(), 0);
    // The programs take turns, so that a change in the machine's load falls on all.
    for (int i = 0; i < runs; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            Run run;
            if (!measureOnce(programs[p], run, pendingSeen[p])) return 1;
            results[p].push_back(run);
        }
    }
    for (size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> start, workingSet, privateBytes;
        for (const Run& run : results[p]) {
            start.push_back(run.startMs);
            workingSet.push_back(run.workingSetKb);
            privateBytes.push_back(run.privateKb);
        }
        const Spread s = spreadOf(start), w = spreadOf(workingSet), b = spreadOf(privateBytes);
        std::printf("%-12s start to first painted window %6.0f ms (%.0f..%.0f, %d runs, unpainted seen in %d)\n",
                    baseName(programs[p]).c_str(), s.median, s.low, s.high, runs, pendingSeen[p]);
        std::printf("%-12s after start: working set %6.0f KB (%.0f..%.0f), private bytes %6.0f KB (%.0f..%.0f)\n",
                    baseName(programs[p]).c_str(), w.median, w.low, w.high, b.median, b.low, b.high);
    }
    return 0;
}
