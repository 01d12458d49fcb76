// The settings store against the real registry of the Wine prefix. Every test
// starts without the key, since all tests share HKCU\Software\Velmora\Quillet.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "AskedCount.h"
#include "app/ClockWindow.h"
#include "settings/Flags.h"
#include "settings/Registry.h"

namespace {

const char KEY_PATH[] = "Software\\Velmora\\Quillet";

void deleteKey() { RegDeleteTreeA(HKEY_CURRENT_USER, KEY_PATH); }

bool keyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void writeRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void writeDword(const char* name, DWORD value) { writeRaw(name, REG_DWORD, &value, sizeof value); }

// Type and bytes of a stored value; an empty string and type REG_NONE when missing.
struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

RawValue readRaw(const char* name) {
    RawValue value;
    char buffer[256];
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, KEY_PATH, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, buffer, &size) ==
        ERROR_SUCCESS)
        value.bytes.assign(buffer, size);
    return value;
}

DWORD storedDword(const char* name) {
    const RawValue value = readRaw(name);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(value.bytes.size(), 4u) << name;
    DWORD result = 0;
    std::memcpy(&result, value.bytes.data(), value.bytes.size() < 4 ? value.bytes.size() : 4);
    return result;
}

LOGFONTA iconTitleFont() {
    LOGFONTA font{};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
    return font;
}

bool sameFont(const LOGFONTA& a, const LOGFONTA& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { deleteKey(); }
    void TearDown() override { deleteKey(); }

    // A window object in its construction state, as at start-up.
    std::unique_ptr<ClockWindow> freshWindow() { return std::make_unique<ClockWindow>(); }
};

TEST_F(SettingsStore, MissingKeyLeavesConstructionValuesAndIsNotCreatedByLoads) {
    auto window = freshWindow();
    window->lastWatchTime.wYear = 1999;
    EXPECT_FALSE(window->loadSettings());
    EXPECT_FALSE(window->loadLastCheck());
    EXPECT_FALSE(keyExists());
    EXPECT_EQ(window->flags, FLAGS_DEFAULT);
    EXPECT_EQ(window->posX, 0);
    EXPECT_EQ(window->posY, 0);
    EXPECT_EQ(window->fontColor, 0u);
    EXPECT_TRUE(sameFont(window->logFont, LOGFONTA{}));
    EXPECT_EQ(window->lastWatchTime.wYear, 1999);

    EXPECT_TRUE(window->savePosition());
    EXPECT_TRUE(keyExists());
}

TEST_F(SettingsStore, SavedSettingsLoadBackIntoAFreshWindow) {
    auto saved = freshWindow();
    saved->posX = -20;
    saved->posY = 700;
    saved->flags = FLAG_DRAGGING | FLAG_SHADOW | FLAG_TOPMOST | FLAG_DATE_FORM_SHORT | FLAG_SHOW_SECONDS | 0x80000;
    saved->fontColor = RGB(12, 34, 56);
    saved->logFont.lfHeight = -19;
    saved->logFont.lfWidth = 7;
    saved->logFont.lfEscapement = 900;
    saved->logFont.lfOrientation = 450;
    saved->logFont.lfWeight = FW_BOLD;
    saved->logFont.lfItalic = 1;
    saved->logFont.lfUnderline = 1;
    saved->logFont.lfCharSet = SHIFTJIS_CHARSET;
    saved->logFont.lfQuality = ANTIALIASED_QUALITY;
    saved->logFont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::strcpy(saved->logFont.lfFaceName, "ＭＳ ゴシック");
    saved->lastWatchTime = SYSTEMTIME{2010, 4, 4, 1, 9, 5, 7, 0};
    EXPECT_TRUE(saved->saveSettings());
    EXPECT_TRUE(saved->savePosition());
    EXPECT_TRUE(saved->saveLastCheck());

    // The stored layout: DWORDs, the persisted flag bits only, and 40 bytes of LFBIN.
    EXPECT_EQ(storedDword("PosX"), 0xFFFFFFECu);
    EXPECT_EQ(storedDword("PosY"), 700u);
    EXPECT_EQ(storedDword("Flags"), saved->flags & SETTINGS_PERSISTED_MASK);
    EXPECT_EQ(storedDword("LFHEIGHT"), static_cast<DWORD>(-19));
    EXPECT_EQ(storedDword("LastYM"), (2010u << 16) | 4u);
    EXPECT_EQ(storedDword("LastDH"), (1u << 16) | 9u);
    const RawValue lfbin = readRaw("LFBIN");
    EXPECT_EQ(lfbin.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(lfbin.bytes.size(), 40u);
    EXPECT_EQ(std::memcmp(lfbin.bytes.data(), saved->logFont.lfFaceName, 32), 0);
    EXPECT_EQ(std::memcmp(lfbin.bytes.data() + 32, &saved->logFont.lfItalic, 8), 0);

    auto loaded = freshWindow();
    EXPECT_TRUE(loaded->loadSettings());
    EXPECT_TRUE(loaded->loadLastCheck());
    EXPECT_EQ(loaded->posX, -20);
    EXPECT_EQ(loaded->posY, 700);
    EXPECT_EQ(loaded->flags, saved->flags & SETTINGS_PERSISTED_MASK);
    EXPECT_EQ(loaded->fontColor, saved->fontColor);
    EXPECT_TRUE(sameFont(loaded->logFont, saved->logFont));
    EXPECT_EQ(loaded->lastWatchTime.wYear, 2010);
    EXPECT_EQ(loaded->lastWatchTime.wMonth, 4);
    EXPECT_EQ(loaded->lastWatchTime.wDay, 1);
    EXPECT_EQ(loaded->lastWatchTime.wHour, 9);
    EXPECT_EQ(loaded->lastWatchTime.wMinute, 0);

    // Deleting the key brings back the defaults on the next start.
    deleteKey();
    auto restarted = freshWindow();
    EXPECT_FALSE(restarted->loadSettings());
    EXPECT_EQ(restarted->posX, 0);
    EXPECT_EQ(restarted->flags, FLAGS_DEFAULT);
    EXPECT_EQ(restarted->fontColor, 0u);
}

TEST_F(SettingsStore, AnEmptyKeyGivesDefaultColourAndTheIconTitleFont) {
    auto window = freshWindow();
    window->flags = FLAG_TOPMOST | FLAG_DRAGGING;
    writeDword("Unrelated", 1);
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(window->flags, FLAG_TOPMOST | FLAG_DRAGGING);  // default is the word in memory
    EXPECT_EQ(window->fontColor, RGB(255, 255, 255));
    EXPECT_TRUE(sameFont(window->logFont, iconTitleFont()));
}

TEST_F(SettingsStore, PositionsLoadAsSigned16BitValues) {
    writeDword("PosX", 65535);
    writeDword("PosY", 0x00018000);
    auto window = freshWindow();
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(window->posX, -1);
    EXPECT_EQ(window->posY, -32768);
}

TEST_F(SettingsStore, StoredFlagsReplaceOnlyBits1To18) {
    writeDword("Flags", 0xFFFFFFFF);
    auto window = freshWindow();
    window->flags = FLAG_SNAP_TO_EDGES;
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(window->flags, SETTINGS_PERSISTED_MASK);

    writeDword("Flags", 0);
    window->flags = 0xFFF80001u;
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(window->flags, 0xFFF80001u);
}

TEST_F(SettingsStore, FontBinaryOfOtherLengthsOrWithoutNul) {
    const LOGFONTA iconTitle = iconTitleFont();

    writeRaw("LFBIN", REG_BINARY, "Arial\0\0\0", 8);  // shorter: the rest reads as zero
    auto window = freshWindow();
    EXPECT_TRUE(window->loadSettings());
    EXPECT_STREQ(window->logFont.lfFaceName, "Arial");
    EXPECT_EQ(window->logFont.lfCharSet, 0);
    EXPECT_EQ(window->logFont.lfPitchAndFamily, 0);
    EXPECT_EQ(window->logFont.lfHeight, iconTitle.lfHeight);

    char longer[41];
    std::memset(longer, 'B', sizeof longer);
    writeRaw("LFBIN", REG_BINARY, longer, sizeof longer);  // longer: ignored
    window = freshWindow();
    EXPECT_TRUE(window->loadSettings());
    EXPECT_TRUE(sameFont(window->logFont, iconTitle));

    writeRaw("LFBIN", REG_BINARY, longer, 40);  // no NUL in the name
    window = freshWindow();
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(std::string(window->logFont.lfFaceName), std::string(31, 'B'));
    EXPECT_EQ(window->logFont.lfItalic, 'B');
    EXPECT_EQ(window->logFont.lfPitchAndFamily, 'B');
}

TEST_F(SettingsStore, ShortDwordReplacesOnlyTheLowBytesOfTheDefault) {
    const BYTE twoBytes[2] = {0x34, 0x12};
    writeRaw("FontColor", REG_DWORD, twoBytes, sizeof twoBytes);
    const BYTE oneByte[1] = {0x05};
    writeRaw("PosX", REG_DWORD, oneByte, sizeof oneByte);
    auto window = freshWindow();
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(window->fontColor, 0x00FF1234u);
    EXPECT_EQ(window->posX, 5);
}

TEST_F(SettingsStore, ValuesOfTheWrongTypeOrSizeGiveTheRawBytesOrTheDefault) {
    writeRaw("PosY", REG_SZ, "7", 2);                    // 2 bytes, read as they are
    writeRaw("Flags", REG_SZ, "hello world", 12);        // longer than 4 bytes: default
    const ULONGLONG quad = 0x1122334455667788ULL;
    writeRaw("LFHEIGHT", REG_QWORD, &quad, sizeof quad);  // longer: default
    const DWORD weight = 0x00000258;
    writeRaw("LFWEIGHT", REG_BINARY, &weight, sizeof weight);  // 4 bytes: accepted
    writeDword("LFBIN", 0x00434241);                      // 4 bytes of name: "ABC"
    writeRaw("LastYM", REG_MULTI_SZ, "a\0b\0\0", 5);
    writeDword("LastDH", (31u << 16) | 23u);

    auto window = freshWindow();
    window->flags = FLAG_DRAGGING | FLAG_SHADOW;
    window->lastWatchTime.wYear = 1999;
    EXPECT_TRUE(window->loadSettings());
    EXPECT_EQ(window->posY, '7');
    EXPECT_EQ(window->flags, FLAG_DRAGGING | FLAG_SHADOW);
    EXPECT_EQ(window->logFont.lfHeight, iconTitleFont().lfHeight);
    EXPECT_EQ(window->logFont.lfWeight, 600);
    EXPECT_STREQ(window->logFont.lfFaceName, "ABC");
    EXPECT_EQ(window->logFont.lfCharSet, 0);

    EXPECT_TRUE(window->loadLastCheck());  // 5 bytes: the default 0
    EXPECT_EQ(window->lastWatchTime.wYear, 0);
    EXPECT_EQ(window->lastWatchTime.wMonth, 0);
    EXPECT_EQ(window->lastWatchTime.wDay, 31);
    EXPECT_EQ(window->lastWatchTime.wHour, 23);
}

TEST_F(SettingsStore, RegistryWrapperReportsWhatFailed) {
    EXPECT_EQ(regOpenForRead(KEY_PATH), nullptr);
    HKEY writable = regOpenForWrite(KEY_PATH);
    ASSERT_NE(writable, nullptr);
    EXPECT_TRUE(regWriteDword(writable, "Value", 42));
    EXPECT_TRUE(regClose(writable));

    HKEY readable = regOpenForRead(KEY_PATH);
    ASSERT_NE(readable, nullptr);
    EXPECT_EQ(regReadDword(readable, "Value", 7), 42u);
    EXPECT_EQ(regReadDword(readable, "Missing", 7), 7u);
    EXPECT_FALSE(regWriteDword(readable, "Value", 43));  // a read-only handle cannot write
    EXPECT_FALSE(regWriteBinary(readable, "Bytes", "x", 1));
    char buffer[2];
    DWORD length = sizeof buffer;
    EXPECT_FALSE(regReadBinary(readable, "Value", buffer, &length));  // 4 bytes do not fit
    EXPECT_TRUE(regClose(readable));
    EXPECT_EQ(storedDword("Value"), 42u);
}

// Random values of every type and size for every value of the key, LastYM and
// LastDH often out of range: the loads take each value as a 4-byte or 40-byte
// read of it gives it, fall back where that read fails, and the face is then
// built from whatever came out. QUILLET_REGISTRY_CASES sets the number of
// cases (the fault script runs many thousands).
TEST_F(SettingsStore, RandomValuesOfEveryTypeAndSizeLoadAsAReadGivesThem) {
    const char* const names[] = {"PosX",  "PosY",          "Flags",    "FontColor", "LFHEIGHT", "LFWIDTH",
                                 "LFESCAPEMENT", "LFORIENTATION", "LFWEIGHT", "LFBIN",     "LastYM",   "LastDH"};
    const DWORD types[] = {REG_NONE,     REG_SZ,   REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
                           REG_MULTI_SZ, REG_QWORD, REG_LINK,     0x7FFF};
    const DWORD sizes[] = {0, 1, 2, 3, 4, 5, 8, 39, 40, 41, 300, 70000};
    const DWORD outOfRange[] = {0, 13, 24, 32, 0xFFFF, 0xFFFF0000u, 0xFFFFFFFFu, (2026u << 16) | 99u};
    // Fewer in the 32-bit build, whose tests run under an emulator in the test command.
    const int cases = askedCount("QUILLET_REGISTRY_CASES", sizeof(void*) == 4 ? 60 : 300);
    std::mt19937 random(20261208);
    HWND face = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(face, nullptr);
    for (int n = 0; n < cases; ++n) {
        SCOPED_TRACE("case " + std::to_string(n));
        deleteKey();
        for (int v = 0; v < 12; ++v) {
            if (random() % 8 == 0) continue;
            const bool lastCheck = v >= 10 && random() % 2;
            const DWORD type = lastCheck ? REG_DWORD : types[random() % 10];
            std::string bytes(lastCheck ? 4 : sizes[random() % 12], '\0');
            for (char& c : bytes) c = static_cast<char>(random());
            if (lastCheck) {
                const DWORD value = outOfRange[random() % 8];
                std::memcpy(&bytes[0], &value, 4);
            }
            writeRaw(names[v], type, bytes.data(), static_cast<DWORD>(bytes.size()));
        }
        // What a read of `room` bytes over the buffer's content gives, asked of the
        // registry itself: for string types Wine's ANSI read converts, and ends the
        // text with a NUL where it sees fit.
        auto readOver = [](const char* name, void* buffer, DWORD room) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
            const bool read =
                RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &room) == ERROR_SUCCESS;
            RegCloseKey(key);
            return read;
        };
        // A 4-byte read starting from the default; the default where it fails.
        auto dword = [&](int v, DWORD fallback) {
            DWORD buffer = fallback;
            return readOver(names[v], &buffer, sizeof buffer) ? buffer : fallback;
        };
        auto window = freshWindow();
        const DWORD flagsBefore = static_cast<DWORD>(random());
        window->flags = flagsBefore;
        window->hwnd = face;
        ASSERT_TRUE(window->loadSettings());
        ASSERT_TRUE(window->loadLastCheck());
        EXPECT_EQ(window->posX, static_cast<int16_t>(dword(0, 0)));
        EXPECT_EQ(window->posY, static_cast<int16_t>(dword(1, 0)));
        EXPECT_EQ(window->flags, (flagsBefore & ~SETTINGS_PERSISTED_MASK) |
                                     (dword(2, flagsBefore & SETTINGS_PERSISTED_MASK) & SETTINGS_PERSISTED_MASK));
        EXPECT_EQ(window->fontColor, dword(3, RGB(255, 255, 255)));
        LOGFONTA font = iconTitleFont();
        LONG* fields[] = {&font.lfHeight, &font.lfWidth, &font.lfEscapement, &font.lfOrientation, &font.lfWeight};
        for (int f = 0; f < 5; ++f) *fields[f] = static_cast<LONG>(dword(4 + f, static_cast<DWORD>(*fields[f])));
        char lfbin[40] = {};
        if (readOver("LFBIN", lfbin, sizeof lfbin)) {
            std::memcpy(font.lfFaceName, lfbin, 31);
            font.lfFaceName[31] = '\0';
            std::memcpy(&font.lfItalic, lfbin + 32, 8);
        }
        EXPECT_TRUE(sameFont(window->logFont, font));
        const DWORD yearMonth = dword(10, 0);
        const DWORD dayHour = dword(11, 0);
        EXPECT_EQ(window->lastWatchTime.wYear, yearMonth >> 16);
        EXPECT_EQ(window->lastWatchTime.wMonth, yearMonth & 0xFFFF);
        EXPECT_EQ(window->lastWatchTime.wDay, dayHour >> 16);
        EXPECT_EQ(window->lastWatchTime.wHour, dayHour & 0xFFFF);
        // The face is built from whatever was loaded, as at start-up.
        window->buildDatePicture();
        window->refitFace();
        window->refreshFaceText();
        window->hwnd = nullptr;
    }
    DestroyWindow(face);
}

}  // namespace
