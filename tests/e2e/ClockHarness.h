// Runs the real Quillet.exe and Setup.exe from a fresh temporary folder and
// looks at them only from outside: windows, messages, exit codes, the registry
// key and the files beside the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "schedule/ScheduleFile.h"

namespace harness {

extern const char* const CLOCK_CLASS;  // "クイレット by ベルモラ"
extern const char* const CLOCK_TITLE;  // "クイレット"
extern const char* const SETTINGS_KEY; // under HKEY_CURRENT_USER

// A Unix path from the build (as given to the compiler) as Wine sees it.
std::string windowsPath(const std::string& path);

// Deletes the clock's registry key with everything under it.
void deleteSettings();
// Writes one REG_DWORD value under the clock's key, creating the key.
void writeSettingDword(const char* name, DWORD value);
// Reads one REG_DWORD value; false when it is missing.
bool readSettingDword(const char* name, DWORD* value);

// Tuesday 8 December 2026 is the day most tests' clocks are set to.
constexpr WORD MONDAY = 1, TUESDAY = 2, WEDNESDAY = 3;
// The `when` of a Weekday schedule.
inline SYSTEMTIME weekday(WORD dayOfWeek, WORD hour, WORD minute) { return {0, 0, dayOfWeek, 0, hour, minute, 0, 0}; }

// One schedule of a data file written for a test.
struct ScheduleEntry {
    uint32_t type;
    SYSTEMTIME when;
    const char* content;
    uint32_t duplicateIndex = 0;
    SYSTEMTIME lastNotified = {};  // never announced
    uint32_t weekOfMonth = 0;
};
// Writes a data file of these schedules in order; false when it cannot.
bool writeScheduleFile(const std::string& path, const std::vector<ScheduleEntry>& entries);

// Loads the schedules of a data file that the running clock may be rewriting. A
// reader that does not let others delete the file makes the clock's swap of the
// new version fail, and a stamp would be lost to the test itself; so the bytes
// are read through a handle that shares everything, and parsed from a copy.
void loadSchedulesBesideClock(const std::string& path, StoredScheduleList& list);

// Finds the running clock's window (class and title), or null.
HWND findClock();
// Polls until the condition holds or the time runs out.
bool waitUntil(DWORD timeoutMs, bool (*condition)(void*), void* context);

// The time alone, as the clock shows it with the date hidden, now.
std::string timeText(bool seconds);
// The size of a text in the icon-title font, the face's default font; a height
// other than 0 replaces the font's own.
SIZE extentInIconTitleFont(const std::string& text, LONG height = 0);
// Sends WM_DPICHANGED as Windows does when the clock reaches a monitor of another
// scale: the dpi, and the suggested rectangle placed in the clock's process.
// False when the rectangle could not be placed there.
bool sendDpiChanged(HWND clock, int dpi, const RECT& suggested);

class ProgramFolder {
public:
    // Creates a new empty folder under the temporary directory and copies both programs into it.
    ProgramFolder();
    ~ProgramFolder();  // removes the folder and everything in it
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::string& path() const { return folder; }
    std::string file(const char* name) const { return folder + "\\" + name; }
    std::string quilletPath() const { return file("Quillet.exe"); }
    std::string setupPath() const { return file("Setup.exe"); }

    // Writes or reads a whole file beside the programs.
    bool writeFile(const char* name, const std::vector<unsigned char>& bytes) const;
    bool readFile(const char* name, std::vector<unsigned char>* bytes) const;
    bool exists(const char* name) const;

private:
    std::string folder;
};

class Process {
public:
    Process() = default;
    ~Process();  // a process still running at the end of a test is ended
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts a program; extraEnvironment holds "NAME=value" entries added to this process's environment.
    bool start(const std::string& program, const std::vector<std::string>& extraEnvironment = {});
    // Starts a program whose first thread waits for resume().
    bool startSuspended(const std::string& program);
    void resume();
    // Waits for the end; false on time-out. The exit code is stored.
    bool waitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool running() const;
    DWORD id() const { return info.dwProcessId; }
    void kill();

private:
    bool launch(const std::string& program, const std::vector<std::string>& extraEnvironment, DWORD flags);

    PROCESS_INFORMATION info = {};
};

// A clock started from a program folder, with its window found.
class RunningClock {
public:
    explicit RunningClock(const ProgramFolder& folder, const std::vector<std::string>& extraEnvironment = {});
    ~RunningClock();  // closes the clock (Exit command) if it is still running

    bool started() const { return window != nullptr; }
    HWND hwnd() const { return window; }
    Process& process() { return proc; }
    // Sends WM_COMMAND with the id and waits for the reply.
    LRESULT command(WPARAM id) const;
    // Sends the Exit command and waits for the process to end; returns its exit code.
    bool exit(DWORD* exitCode);
    RECT rect() const;

private:
    Process proc;
    HWND window = nullptr;
};

// The client area of a window as its program painted it, one 0x00RRGGBB value
// per pixel, row by row from the top.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const WindowImage& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
    bool operator!=(const WindowImage& other) const { return !(*this == other); }
};
WindowImage captureClient(HWND window);

// A clock whose local time starts at `start` ("YYYY-MM-DD hh:mm:ss") and runs on
// from there. Only a Wine program started from Linux can be given another wall
// clock: the clock is started through /usr/bin/env as a separate Wine process with
// the shifting library preloaded (tests/tools/ShiftedWallClock.c), and found
// afterwards by its window. Starting takes seconds of the shifted time (more under
// load, and under the emulator that runs the 32-bit build), so a test starts its
// clock 15 s or more before the moment it watches. With a rate above 1 the clock's
// time runs that many times faster than real time from the launch on.
class FakeTimeClock {
public:
    FakeTimeClock(const ProgramFolder& folder, const char* start, int rate = 1);
    ~FakeTimeClock();  // sends the Exit command and waits for the end
    FakeTimeClock(const FakeTimeClock&) = delete;
    FakeTimeClock& operator=(const FakeTimeClock&) = delete;

    bool started() const { return window != nullptr; }
    HWND hwnd() const { return window; }
    HANDLE processHandle() const { return process; }
    // Sets the running clock's local time to "YYYY-MM-DD hh:mm:ss", from where it
    // runs on (a clock started at rate 1); the clock sees it at its next reading of the time.
    void moveTo(const char* localTime) const;
    // Seconds of the clock's time since its start, reckoned from real time and the
    // rate (within the launch's delay times the rate).
    long long clockSecondsSinceStart() const;

private:
    HWND window = nullptr;
    HANDLE process = nullptr;
    std::string shiftFile;  // Unix path; the file exists once the time was moved
    int rate;
    ULONGLONG launchedAtMs = 0;
};

// What a running program holds, read from outside for a soak's first and last hour.
// Wine lacks some of the usual counters, so these are counted the long way.
struct ProcessResources {
    SIZE_T privateBytes = 0;  // committed private memory, summed over its regions (Wine's PrivateUsage is 0)
    SIZE_T workingSet = 0;
    DWORD gdiObjects = 0;     // GetGuiResources, which Wine does not implement (always 0)
    DWORD userObjects = 0;    // the same
    DWORD gdiHandles = 0;     // entries in use in the GDI handle table of the process's PEB
    DWORD gdiBitmaps = 0;     // those of them that are bitmaps
    DWORD kernelHandles = 0;  // from the system's handle list (Wine's GetProcessHandleCount gives 0)
    DWORD windows = 0;        // its windows, children included
};
// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ; the program is of this build.
ProcessResources resourcesOf(HANDLE process);
std::string describe(const ProcessResources& resources);

// Dialogs and menus of the running clock, driven as a user would. Anything that
// may open a modal window in the clock (a button, a mouse message) is posted.

// Waits for a visible dialog owned by `owner` whose caption starts with `caption`; null on time-out.
HWND waitForDialog(HWND owner, const char* caption, DWORD timeoutMs = 10000);
// Waits for an open pop-up menu; null on time-out.
HWND waitForMenu(DWORD timeoutMs = 5000);
bool waitGone(HWND window, DWORD timeoutMs = 10000);
// A window's text, asked of its own program (also for another program's control).
std::string textOf(HWND window);
// Presses a button (BM_CLICK, posted).
void clickButton(HWND dialog, int id);
// Selects an item of a drop-down list and tells the dialog, as a user's choice would.
void chooseItem(HWND dialog, int id, int index);
// A block of memory in the program that owns a window, for messages whose
// lParam points to a structure (and buffers) the receiving control reads or
// fills. Structures are laid out for this build, which is the clock's.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool valid() const { return remote != nullptr; }
    // The block's address as its own program sees it, `offset` bytes in.
    char* at(size_t offset = 0) const { return static_cast<char*>(remote) + offset; }
    bool write(const void* data, size_t size, size_t offset = 0) const;
    bool read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process = nullptr;
    void* remote = nullptr;
};

// Sends a message whose lParam points to a SYSTEMTIME (DTM_SETSYSTEMTIME,
// DTM_GETSYSTEMTIME, MCM_SETCURSEL), placed in the control's process; SYSTEMTIME
// is laid out alike in 32- and 64-bit programs.
LRESULT sendTimeMessage(HWND control, UINT message, WPARAM wParam, SYSTEMTIME& time);

// The texts of a list view in another program, row by row, cell by cell
// (LVM_GETITEMTEXTA with the item and its buffer placed in that program).
std::vector<std::vector<std::string>> listViewCells(HWND list, int columns);
// A point of a list view's row, in the list's client coordinates.
POINT listRowPoint(HWND list, int row);
// Posts a button's down and up messages at a point of a window.
void postClick(HWND window, POINT point, UINT down, UINT up);
// Clicks a column's header of a list view.
void clickListHeader(HWND list, int column);

}  // namespace harness
