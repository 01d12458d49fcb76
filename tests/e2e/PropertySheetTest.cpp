// The property sheet of the running clock, driven from outside: its pages'
// controls, Apply, OK and Cancel, the font dialog, a second start while it is
// open, the About page's version, and the accelerators that open the dialogs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/ClockTest.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_TOPMOST = 0x20;
constexpr DWORD FLAG_CUSTOM_FONT = 0x20000;
const char* const SHEET_TITLE = "クイレットのプロパティ";
// Where the clock starts, and where it is moved before an Apply: both clear of
// the sheet, which opens over the clock and is moved to the top left.
constexpr int CLOCK_X = 700, CLOCK_Y = 500, AWAY_X = 900, AWAY_Y = 100;

// Visible dialogs of the clock's process, with the given title or any.
std::vector<HWND> dialogsOf(HWND clock, const char* title = nullptr) {
    DWORD process = 0, owner = 0;
    GetWindowThreadProcessId(clock, &process);
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", title)) != nullptr;) {
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w)) found.push_back(w);
    }
    return found;
}

std::vector<HWND> waitForDialogs(HWND clock, size_t count, const char* title = SHEET_TITLE) {
    std::vector<HWND> found;
    for (int i = 0; i < 500 && (found = dialogsOf(clock, title)).size() != count; ++i) Sleep(20);
    return found;
}

// Opens the sheet with the command the menu sends, without waiting for it to close.
HWND openSheet(HWND clock) {
    PostMessageA(clock, WM_COMMAND, 32799, 0);
    const std::vector<HWND> sheets = waitForDialogs(clock, 1);
    if (sheets.empty()) return nullptr;
    SetWindowPos(sheets[0], nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return sheets[0];
}

HWND page(HWND sheet, int index) {
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// A click on a check box or, with an item, a choice in a list, which the list reports as the user's.
void use(HWND sheet, int pageIndex, int control, int item = -1) {
    HWND p = page(sheet, pageIndex), c = GetDlgItem(p, control);
    if (item < 0) {
        SendMessageA(c, BM_CLICK, 0, 0);
        return;
    }
    SendMessageA(c, CB_SETCURSEL, item, 0);
    SendMessageA(p, WM_COMMAND, MAKEWPARAM(control, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
}

// Presses OK or Cancel and waits until the clock has closed the sheet and saved.
void closeSheet(HWND clock, HWND sheet, int button) {
    SendMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    for (int i = 0; i < 500 && IsWindow(sheet); ++i) Sleep(20);
    SendMessageA(clock, WM_NULL, 0, 0);
}

DWORD saved(const char* name) {
    DWORD value = 0;
    EXPECT_TRUE(readSettingDword(name, &value)) << name;
    return value;
}

LONG faceWidth(HWND clock) {
    RECT r;
    GetWindowRect(clock, &r);
    return r.right - r.left;
}

// What a row expects after its Apply (and, for the era box, before it).
LONG widthBeforeApply;
void narrower(HWND clock, HWND) { EXPECT_LT(faceWidth(clock), widthBeforeApply); }
void timeAloneWithSeconds(HWND clock, HWND) {
    // Digits are equally wide, so a second passing in between does not matter.
    EXPECT_EQ(extentInIconTitleFont(timeText(true)).cx + 2, faceWidth(clock));
}
size_t faceColours(HWND clock) {
    RedrawWindow(clock, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const WindowImage image = captureClient(clock);
    return std::set<DWORD>(image.pixels.begin(), image.pixels.end()).size();
}
void textAndBackgroundOnly(HWND clock, HWND) { EXPECT_EQ(2u, faceColours(clock)); }
void withShadow(HWND clock, HWND) { EXPECT_EQ(3u, faceColours(clock)); }
DWORD layeredAttributes(HWND clock) {
    COLORREF key;
    BYTE alpha;
    DWORD attributes = 0;
    const bool layered = GetWindowLongPtrA(clock, GWL_EXSTYLE) & WS_EX_LAYERED;
    return layered && GetLayeredWindowAttributes(clock, &key, &alpha, &attributes) ? attributes : 0;
}
void keyedAndTranslucent(HWND clock, HWND) { EXPECT_EQ(DWORD(LWA_COLORKEY | LWA_ALPHA), layeredAttributes(clock)); }
void notLayered(HWND clock, HWND) { EXPECT_EQ(0u, layeredAttributes(clock)); }
void backAtItsPosition(HWND clock, HWND) {
    RECT r;
    GetWindowRect(clock, &r);
    EXPECT_EQ(CLOCK_X, r.left);
    EXPECT_EQ(CLOCK_Y, r.top);
}
void eraDisabledButChecked(HWND, HWND sheet) {
    HWND era = GetDlgItem(page(sheet, 0), 1014);
    EXPECT_FALSE(IsWindowEnabled(era));
    EXPECT_EQ(BST_CHECKED, SendMessageA(era, BM_GETCHECK, 0, 0));
}

struct Use {
    int page, control, item;
};
struct SheetRow {
    const char* name;
    DWORD startFlags;
    std::vector<Use> uses;
    bool apply;
    void (*check)(HWND clock, HWND sheet);
    int closeWith;
    DWORD savedFlags;
};

using PropertiesSheet = StartedClockTest;

TEST_F(PropertiesSheet, PagesChangeTheClockOnApplyAndAreSavedWhenTheSheetCloses) {
    const SheetRow rows[] = {
        {"date hidden, seconds", 0x2, {{0, 1011, 2}, {0, 1016, -1}}, true, timeAloneWithSeconds, PSBTN_OK, 0x40802},
        {"text only", 0x82, {{0, 1010, 0}}, true, textAndBackgroundOnly, PSBTN_OK, 0x282},
        {"shadow", 0x82, {{0, 1010, 1}}, true, withShadow, PSBTN_OK, 0x286},
        {"opaque", 0x2, {{0, 1006, -1}}, true, notLayered, PSBTN_OK, 0x82},
        {"translucent, Cancel after Apply", 0x2, {{0, 1007, -1}}, true, keyedAndTranslucent, PSBTN_CANCEL, 0x102},
        {"no year, month, weekday", 0x2, {{0, 1008, -1}, {0, 1013, -1}, {0, 1012, -1}}, true, narrower, PSBTN_OK, 0x7002},
        {"OK without Apply", 0x2, {{0, 1010, 0}}, false, nullptr, PSBTN_OK, 0x202},
        {"era without local calendar", 0x18002, {{0, 1009, -1}}, false, eraDisabledButChecked, PSBTN_OK, 0x10002},
        {"Cancel right after opening", 0x4A82, {}, false, nullptr, PSBTN_CANCEL, 0x4A82},
        {"no snapping", 0x2, {{1, 1002, -1}}, true, backAtItsPosition, PSBTN_OK, 0x0},
        {"topmost", 0x2, {{1, 1005, -1}}, true, backAtItsPosition, PSBTN_OK, 0x22},
        {"short menu", 0x2, {{1, 1009, 1}}, true, backAtItsPosition, PSBTN_OK, 0x42},
        {"no menu", 0x2, {{1, 1009, 2}}, true, backAtItsPosition, PSBTN_OK, 0x52},
        {"full menu", 0x52, {{1, 1009, 0}}, true, backAtItsPosition, PSBTN_OK, 0x2},
    };
    for (const SheetRow& row : rows) {
        SCOPED_TRACE(row.name);
        startAt(row.startFlags, CLOCK_X, CLOCK_Y);
        HWND sheet = openSheet(clock->hwnd());
        ASSERT_NE(sheet, nullptr);
        for (const Use& u : row.uses) use(sheet, u.page, u.control, u.item);
        EXPECT_EQ(!row.uses.empty(), IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE) << "Apply button";
        if (row.apply) {
            widthBeforeApply = faceWidth(clock->hwnd());
            SetWindowPos(clock->hwnd(), nullptr, AWAY_X, AWAY_Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        }
        if (row.check) row.check(clock->hwnd(), sheet);
        closeSheet(clock->hwnd(), sheet, row.closeWith);
        EXPECT_EQ(row.savedFlags, saved("Flags"));
        saved("LFHEIGHT");  // written with the flags, even by a Cancel
        clock.reset();
        if (row.savedFlags & FLAG_TOPMOST) {
            // Under Wine an owner with an open sheet stays out of the topmost
            // band itself, so the band is checked at the next start.
            clock.reset(new RunningClock(folder));
            SendMessageA(clock->hwnd(), WM_NULL, 0, 0);
            EXPECT_TRUE(GetWindowLongPtrA(clock->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
            clock.reset();
        }
        deleteSettings();
    }
}

TEST_F(PropertiesSheet, ChosenFontIsSavedOnlyWhileTheCustomFontBoxStaysChecked) {
    LOGFONTA iconTitle = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);
    for (bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "kept" : "unchecked before OK");
        startAt(0x2, CLOCK_X, CLOCK_Y);
        HWND sheet = openSheet(clock->hwnd());
        use(sheet, 0, 1015);
        PostMessageA(GetDlgItem(page(sheet, 0), 1033), BM_CLICK, 0, 0);
        const std::vector<HWND> dialogs = waitForDialogs(clock->hwnd(), 2, nullptr);
        ASSERT_EQ(2u, dialogs.size());
        HWND fontDialog = dialogs[0] == sheet ? dialogs[1] : dialogs[0];
        // Choose the largest size. The dialog fills its size list while it settles
        // on the font it starts with, so the choice is made again until it stays.
        HWND sizes = GetDlgItem(fontDialog, 0x472);
        bool chosen = false;
        for (int i = 0; i < 40 && !chosen; ++i) {
            const LRESULT count = SendMessageA(sizes, CB_GETCOUNT, 0, 0);
            if (count > 1) {
                SendMessageA(sizes, CB_SETCURSEL, count - 1, 0);
                SendMessageA(fontDialog, WM_COMMAND, MAKEWPARAM(0x472, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
            }
            Sleep(100);
            chosen = count > 1 && SendMessageA(sizes, CB_GETCOUNT, 0, 0) == count &&
                     SendMessageA(sizes, CB_GETCURSEL, 0, 0) == count - 1;
        }
        ASSERT_TRUE(chosen);
        SendMessageA(fontDialog, WM_COMMAND, IDOK, 0);
        // The page takes the chosen font once the font dialog's own loop has ended;
        // a message sent before that would be answered from inside that loop.
        ASSERT_TRUE(waitGone(fontDialog));
        SendMessageA(sheet, WM_NULL, 0, 0);
        if (!keep) use(sheet, 0, 1015);
        const RECT before = clock->rect();
        closeSheet(clock->hwnd(), sheet, PSBTN_OK);
        EXPECT_EQ(keep, clock->rect().bottom - clock->rect().top > before.bottom - before.top) << "taller face";
        EXPECT_EQ(keep, (saved("Flags") & FLAG_CUSTOM_FONT) != 0);
        EXPECT_EQ(keep, static_cast<LONG>(saved("LFHEIGHT")) != iconTitle.lfHeight);
        clock.reset();
        deleteSettings();
    }
}

TEST_F(PropertiesSheet, SecondStartOpensAnotherSheetAndEndsWhenThatOneCloses) {
    startAt(0x2, CLOCK_X, CLOCK_Y);
    HWND first = openSheet(clock->hwnd());
    Process second;
    ASSERT_TRUE(second.start(folder.quilletPath()));
    const std::vector<HWND> sheets = waitForDialogs(clock->hwnd(), 2);
    ASSERT_EQ(2u, sheets.size());
    EXPECT_FALSE(second.waitExit(500));
    closeSheet(clock->hwnd(), sheets[0] == first ? sheets[1] : sheets[0], PSBTN_CANCEL);
    DWORD code = 99;
    EXPECT_TRUE(second.waitExit(10000, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(IsWindow(first));
    closeSheet(clock->hwnd(), first, PSBTN_CANCEL);
}

TEST_F(PropertiesSheet, AboutPageShowsTheVersionOfTheVersionResource) {
    startAt(0x2, CLOCK_X, CLOCK_Y);
    HWND sheet = openSheet(clock->hwnd());
    char line[64] = "";
    GetDlgItemTextA(page(sheet, 2), 1000, line, sizeof line);
    EXPECT_EQ("Version " QUILLET_VERSION "  Build 0000", std::string(line));
    closeSheet(clock->hwnd(), sheet, PSBTN_CANCEL);
}

// Ctrl and a letter, typed on the keyboard.
void typeControl(char letter) {
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(letter, 0, 0, 0);
    keybd_event(letter, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

TEST_F(PropertiesSheet, AcceleratorsOpenTheirDialogFromTheMainLoopOnly) {
    struct Row {
        char letter;
        const char* dialogTitle;
    };
    for (const Row& row :
         {Row{'R', SHEET_TITLE}, Row{'S', "予定の追加"}, Row{'M', "クイレット - 予定マネージャ"}}) {
        SCOPED_TRACE(row.letter);
        startAt(0x2, CLOCK_X, CLOCK_Y);
        SetForegroundWindow(clock->hwnd());
        typeControl(row.letter);
        const std::vector<HWND> opened = waitForDialogs(clock->hwnd(), 1, row.dialogTitle);
        ASSERT_EQ(1u, opened.size());
        // The dialog has the keyboard now and runs its own loop: the keys do nothing there.
        SetForegroundWindow(opened[0]);
        EXPECT_EQ(opened[0], GetForegroundWindow());
        typeControl(row.letter);
        Sleep(500);
        EXPECT_EQ(1u, dialogsOf(clock->hwnd()).size());
        PostMessageA(opened[0], WM_COMMAND, IDCANCEL, 0);
        clock.reset();
    }
}

}  // namespace
