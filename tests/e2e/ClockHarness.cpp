#include "e2e/ClockHarness.h"
#include "util/PathText.h"

#include <commctrl.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>

namespace harness {

const char* const CLOCK_CLASS = "クイレット by ベルモラ";
const char* const CLOCK_TITLE = "クイレット";
const char* const SETTINGS_KEY = "Software\\Velmora\\Quillet";

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    return result;
}

void deleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, SETTINGS_KEY); }

void writeSettingDword(const char* name, DWORD value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

bool readSettingDword(const char* name, DWORD* value) {
    DWORD size = sizeof *value;
    return RegGetValueA(HKEY_CURRENT_USER, SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr, value, &size) ==
           ERROR_SUCCESS;
}

HWND findClock() { return FindWindowA(CLOCK_CLASS, CLOCK_TITLE); }

bool waitUntil(DWORD timeoutMs, bool (*condition)(void*), void* context) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition(context)) {
        if (GetTickCount64() > end) return false;
        Sleep(20);
    }
    return true;
}

std::string timeText(bool seconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[64];
    const DWORD flags = LOCALE_NOUSEROVERRIDE | (seconds ? 0 : TIME_NOSECONDS);
    GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &now, nullptr, text, sizeof text);
    return text;
}

SIZE extentInIconTitleFont(const std::string& text, LONG height) {
    LOGFONTA font = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
    if (height) font.lfHeight = height;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, handle);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(handle);
    DeleteDC(dc);
    return size;
}

namespace {

bool copyProgram(const char* built, const std::string& target) {
    return CopyFileA(windowsPath(built).c_str(), target.c_str(), FALSE) != 0;
}

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
            const std::string child = folder + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

bool writeScheduleFile(const std::string& path, const std::vector<ScheduleEntry>& entries) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = true;
    for (const ScheduleEntry& e : entries) {
        TextBuffer title, content;
        content.assign(e.content);
        ScheduleRecord record = makeScheduleRecord(e.type, e.when, e.weekOfMonth, content.length());
        record.duplicateIndex = e.duplicateIndex;
        record.lastNotified = e.lastNotified;
        written = written && writeRecord(file, record, title, content);
    }
    return std::fclose(file) == 0 && written;
}

void loadSchedulesBesideClock(const std::string& path, StoredScheduleList& list) {
    std::vector<char> bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        bytes.resize(GetFileSize(h, nullptr));
        DWORD read = 0;
        if (!bytes.empty() && !ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
        bytes.resize(read);
        CloseHandle(h);
    }
    char temp[MAX_PATH], copy[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "qsc", 0, copy);
    if (std::FILE* file = std::fopen(copy, "wb")) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    loadAllSchedules(copy, list);
    DeleteFileA(copy);
}

ProgramFolder::ProgramFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static unsigned counter = 0;
    for (;;) {
        folder = std::string(temp) + "quillet-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++counter);
        if (CreateDirectoryA(folder.c_str(), nullptr)) break;
    }
    copyProgram(QUILLET_EXE, quilletPath());
    copyProgram(SETUP_EXE, setupPath());
}

ProgramFolder::~ProgramFolder() { removeTree(folder); }

bool ProgramFolder::writeFile(const char* name, const std::vector<unsigned char>& bytes) const {
    HANDLE h = CreateFileA(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

bool ProgramFolder::readFile(const char* name, std::vector<unsigned char>* bytes) const {
    HANDLE h = CreateFileA(file(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(h, nullptr);
    bytes->assign(size, 0);
    DWORD read = 0;
    const BOOL ok = size == 0 || ReadFile(h, bytes->data(), size, &read, nullptr);
    CloseHandle(h);
    return ok && read == size;
}

bool ProgramFolder::exists(const char* name) const {
    return GetFileAttributesA(file(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

Process::~Process() {
    kill();
    if (info.hProcess) CloseHandle(info.hProcess);
    if (info.hThread) CloseHandle(info.hThread);
}

bool Process::start(const std::string& program, const std::vector<std::string>& extraEnvironment) {
    return launch(program, extraEnvironment, 0);
}

bool Process::startSuspended(const std::string& program) { return launch(program, {}, CREATE_SUSPENDED); }

void Process::resume() { ResumeThread(info.hThread); }

bool Process::launch(const std::string& program, const std::vector<std::string>& extraEnvironment, DWORD flags) {
    std::vector<std::string> restore;
    for (const std::string& entry : extraEnvironment) {
        const std::string name = entry.substr(0, entry.find('='));
        SetEnvironmentVariableA(name.c_str(), entry.substr(name.size() + 1).c_str());
        restore.push_back(name);
    }
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const std::string directory = program.substr(0, folderPartLength(program.c_str()));
    const BOOL ok = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                                   directory.c_str(), &startup, &info);
    for (const std::string& name : restore) SetEnvironmentVariableA(name.c_str(), nullptr);
    return ok != 0;
}

bool Process::waitExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!info.hProcess || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    if (exitCode) *exitCode = code;
    return true;
}

bool Process::running() const {
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
}

namespace {

struct ClockSearch {
    DWORD processId;
    HWND found;
};

bool clockOfProcessShown(void* context) {
    auto* search = static_cast<ClockSearch*>(context);
    HWND window = findClock();
    DWORD owner = 0;
    if (window) GetWindowThreadProcessId(window, &owner);
    if (window && owner == search->processId && IsWindowVisible(window)) search->found = window;
    return search->found != nullptr;
}

}  // namespace

RunningClock::RunningClock(const ProgramFolder& folder, const std::vector<std::string>& extraEnvironment) {
    if (!proc.start(folder.quilletPath(), extraEnvironment)) return;
    ClockSearch search = {proc.id(), nullptr};
    if (waitUntil(10000, clockOfProcessShown, &search)) window = search.found;
}

RunningClock::~RunningClock() {
    if (proc.running() && window && IsWindow(window)) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(window, WM_COMMAND, 105, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        proc.waitExit(5000);
    }
}

LRESULT RunningClock::command(WPARAM id) const { return SendMessageA(window, WM_COMMAND, id, 0); }

bool RunningClock::exit(DWORD* exitCode) {
    command(105);
    return proc.waitExit(10000, exitCode);
}

RECT RunningClock::rect() const {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

WindowImage captureClient(HWND window) {
    WindowImage image;
    RECT client = {};
    GetClientRect(window, &client);
    image.width = client.right;
    image.height = client.bottom;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, image.width, image.height, source, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* raw = static_cast<const DWORD*>(bits);
        image.pixels.assign(raw, raw + image.width * image.height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return image;
}

namespace {

bool clockShown(void* context) {
    HWND window = findClock();
    if (window && IsWindowVisible(window)) *static_cast<HWND*>(context) = window;
    return *static_cast<HWND*>(context) != nullptr;
}

// Seconds from now to the local time "YYYY-MM-DD hh:mm:ss".
long long secondsUntil(const char* localTime) {
    SYSTEMTIME local = {};
    std::sscanf(localTime, "%hu-%hu-%hu %hu:%hu:%hu", &local.wYear, &local.wMonth, &local.wDay, &local.wHour,
                &local.wMinute, &local.wSecond);
    SYSTEMTIME universal;
    FILETIME target, now;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal);
    SystemTimeToFileTime(&universal, &target);
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    // Whole seconds rounded up: cut toward zero, a moment ahead would start the
    // clock up to a second early, in the minute before the one asked for.
    const long long difference = ticks(target) - ticks(now);
    return difference / 10000000 + (difference % 10000000 > 0);
}

}  // namespace

FakeTimeClock::FakeTimeClock(const ProgramFolder& folder, const char* start, int rate)
    : shiftFile("/tmp/quillet-clock-shift-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64())),
      rate(rate) {
    std::string commandLine = "/usr/bin/env LD_PRELOAD=" SHIFTED_WALL_CLOCK_DIR "/$LIB/libshifted-wall-clock.so"
                              " QUILLET_CLOCK_SHIFT=" + std::to_string(secondsUntil(start)) +
                              " QUILLET_CLOCK_SHIFT_FILE=" + shiftFile +
                              " QUILLET_CLOCK_RATE=" + std::to_string(rate) +
                              " " WINE_LOADER " \"" + folder.quilletPath() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION launcher = {};
    launchedAtMs = GetTickCount64();
    const BOOL launched = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                         &startup, &launcher);
    if (!launched) return;
    // The handles stand for the Linux launcher, not for the clock.
    CloseHandle(launcher.hThread);
    CloseHandle(launcher.hProcess);
    HWND found = nullptr;
    if (!waitUntil(20000, clockShown, &found)) return;
    DWORD owner = 0;
    GetWindowThreadProcessId(found, &owner);
    process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, owner);
    window = found;
}

FakeTimeClock::~FakeTimeClock() {
    if (window && IsWindow(window)) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(window, WM_COMMAND, 105, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    if (process) {
        if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    DeleteFileA(windowsPath(shiftFile).c_str());
}

void FakeTimeClock::moveTo(const char* localTime) const {
    // Written aside and renamed over the file, so that the clock never reads half a number.
    const std::string target = windowsPath(shiftFile), written = target + ".new";
    if (std::FILE* file = std::fopen(written.c_str(), "wb")) {
        std::fprintf(file, "%lld\n", secondsUntil(localTime));
        std::fclose(file);
        MoveFileExA(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

long long FakeTimeClock::clockSecondsSinceStart() const {
    return static_cast<long long>(GetTickCount64() - launchedAtMs) * rate / 1000;
}

namespace {

struct WindowCount {
    DWORD processId;
    DWORD count;
};

BOOL CALLBACK countWindowOf(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) ++windows->count;
    return TRUE;
}

BOOL CALLBACK countTopLevelWindow(HWND window, LPARAM context) {
    countWindowOf(window, context);
    EnumChildWindows(window, countWindowOf, context);
    return TRUE;
}

// Wine keeps a process's GDI objects in a table that its PEB points to, as
// Windows does: 65536 entries of 24 bytes, an entry's type byte 0 when it is
// free and 9 for a bitmap. Counts the entries in use and the bitmaps among them.
void countGdiHandles(HANDLE process, ProcessResources& r) {
    constexpr size_t ENTRY_SIZE = 24, TYPE_OFFSET = 14, ENTRIES = 0x10000;
    constexpr unsigned char BITMAP = 9;
    constexpr size_t TABLE_IN_PEB = sizeof(void*) == 8 ? 0xF8 : 0x94;
    PROCESS_BASIC_INFORMATION basic = {};
    void* table = nullptr;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + TABLE_IN_PEB, &table,
                           sizeof table, nullptr) ||
        !table) {
        return;
    }
    std::vector<unsigned char> entries(ENTRY_SIZE * ENTRIES);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) return;
    for (size_t i = 0; i < ENTRIES; ++i) {
        const unsigned char type = entries[i * ENTRY_SIZE + TYPE_OFFSET];
        r.gdiHandles += type != 0;
        r.gdiBitmaps += type == BITMAP;
    }
}

SIZE_T committedPrivateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    }
    return total;
}

// The system's list of open handles, as NtQuerySystemInformation gives it (class 16).
struct SystemHandle {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
};

DWORD kernelHandlesOf(DWORD processId) {
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    while (NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                    static_cast<ULONG>(buffer.size()), &needed) == static_cast<NTSTATUS>(0xC0000004L)) {
        buffer.resize(buffer.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* handles = reinterpret_cast<const SystemHandle*>(buffer.data() + sizeof(void*));
    DWORD owned = 0;
    for (ULONG i = 0; i < count && sizeof(void*) + (i + 1) * sizeof(SystemHandle) <= buffer.size(); ++i) {
        owned += handles[i].processId == processId;
    }
    return owned;
}

}  // namespace

ProcessResources resourcesOf(HANDLE process) {
    ProcessResources r;
    PROCESS_MEMORY_COUNTERS memory = {};
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) r.workingSet = memory.WorkingSetSize;
    r.privateBytes = committedPrivateBytes(process);
    r.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    r.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    countGdiHandles(process, r);
    r.kernelHandles = kernelHandlesOf(GetProcessId(process));
    WindowCount windows = {GetProcessId(process), 0};
    EnumWindows(countTopLevelWindow, reinterpret_cast<LPARAM>(&windows));
    r.windows = windows.count;
    return r;
}

std::string describe(const ProcessResources& r) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "private %lu KiB, working set %lu KiB, GDI handles %lu (%lu bitmaps; GetGuiResources: GDI %lu, "
                  "USER %lu), kernel handles %lu, windows %lu",
                  static_cast<unsigned long>(r.privateBytes / 1024), static_cast<unsigned long>(r.workingSet / 1024),
                  static_cast<unsigned long>(r.gdiHandles),
                  static_cast<unsigned long>(r.gdiBitmaps),
                  static_cast<unsigned long>(r.gdiObjects), static_cast<unsigned long>(r.userObjects),
                  static_cast<unsigned long>(r.kernelHandles), static_cast<unsigned long>(r.windows));
    return text;
}

namespace {

struct DialogSearch {
    HWND owner;
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search->owner &&
        textOf(window).rfind(search->caption, 0) == 0) {
        search->found = window;
    }
    return !search->found;
}

}  // namespace

HWND waitForDialog(HWND owner, const char* caption, DWORD timeoutMs) {
    DialogSearch search = {owner, caption, nullptr};
    bool (*found)(void*) = [](void* context) {
        EnumWindows(matchDialog, reinterpret_cast<LPARAM>(context));
        return static_cast<DialogSearch*>(context)->found != nullptr;
    };
    waitUntil(timeoutMs, found, &search);
    return search.found;
}

HWND waitForMenu(DWORD timeoutMs) {
    HWND menu = nullptr;
    bool (*shown)(void*) = [](void* found) {
        HWND& window = *static_cast<HWND*>(found);
        do window = FindWindowExA(nullptr, window, "#32768", nullptr);
        while (window && !IsWindowVisible(window));
        return window != nullptr;
    };
    waitUntil(timeoutMs, shown, &menu);
    return menu;
}

bool waitGone(HWND window, DWORD timeoutMs) {
    return waitUntil(timeoutMs, [](void* w) { return !IsWindow(static_cast<HWND>(w)); }, window);
}

std::string textOf(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void clickButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void chooseItem(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool sendDpiChanged(HWND clock, int dpi, const RECT& suggested) {
    RemoteBlock block(clock, sizeof suggested);
    if (!block.valid() || !block.write(&suggested, sizeof suggested)) return false;
    SendMessageA(clock, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(block.at()));
    return true;
}

RemoteBlock::RemoteBlock(HWND window, size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process) remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock() {
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
}

bool RemoteBlock::write(const void* data, size_t size, size_t offset) const {
    return remote && WriteProcessMemory(process, at(offset), data, size, nullptr);
}

bool RemoteBlock::read(void* data, size_t size, size_t offset) const {
    return remote && ReadProcessMemory(process, at(offset), data, size, nullptr);
}

LRESULT sendTimeMessage(HWND control, UINT message, WPARAM wParam, SYSTEMTIME& time) {
    RemoteBlock block(control, sizeof time);
    if (!block.write(&time, sizeof time)) return -1;
    const LRESULT result = SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(block.at()));
    block.read(&time, sizeof time);
    return result;
}

std::vector<std::vector<std::string>> listViewCells(HWND list, int columns) {
    constexpr size_t TEXT_SIZE = 512;
    std::vector<std::vector<std::string>> rows;
    RemoteBlock block(list, sizeof(LVITEMA) + TEXT_SIZE);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count && block.valid(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < columns; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = block.at(sizeof item);
            item.cchTextMax = TEXT_SIZE;
            char text[TEXT_SIZE] = {};
            block.write(&item, sizeof item);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.at()));
            block.read(text, sizeof text - 1, sizeof item);
            rows.back().push_back(text);
        }
    }
    return rows;
}

namespace {

POINT middleOf(HWND window, UINT message, WPARAM index, LONG left) {
    RECT rect = {left, 0, 0, 0};
    RemoteBlock block(window, sizeof rect);
    block.write(&rect, sizeof rect);
    SendMessageA(window, message, index, reinterpret_cast<LPARAM>(block.at()));
    block.read(&rect, sizeof rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

// Inside the first column, where a click on any list view selects the row.
POINT listRowPoint(HWND list, int row) { return middleOf(list, LVM_GETITEMRECT, row, LVIR_LABEL); }

void clickListHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    postClick(header, middleOf(header, HDM_GETITEMRECT, column, 0), WM_LBUTTONDOWN, WM_LBUTTONUP);
}

void postClick(HWND window, POINT point, UINT down, UINT up) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageA(window, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, at);
    PostMessageA(window, up, 0, at);
}

}  // namespace harness
