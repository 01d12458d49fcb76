// The face of the running clock as pixels: background in the desktop colour,
// the text colour that contrasts with it, the shadow and outline in the grey
// that contrasts with the text, each where it belongs; and the layered-window
// attributes that key out the background or make the face translucent.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/ClockTest.h"

using namespace harness;

namespace {

constexpr DWORD FLAG_SNAP_TO_EDGES = 0x2;
constexpr DWORD FLAG_SHADOW = 0x4;
constexpr DWORD FLAG_OPAQUE_BACKGROUND = 0x80;
constexpr DWORD FLAG_TRANSLUCENT = 0x100;
constexpr DWORD FLAG_NO_OUTLINE = 0x200;
constexpr DWORD FLAG_CUSTOM_FONT = 0x20000;

// The pictures are taken with the background not keyed out: a keyed-out
// background shows whatever lies under the clock, which is the desktop on
// Windows but the bare X root window under Wine.
constexpr DWORD TEXT_ONLY = FLAG_SNAP_TO_EDGES | FLAG_OPAQUE_BACKGROUND | FLAG_NO_OUTLINE;
constexpr DWORD SHADOW = FLAG_SNAP_TO_EDGES | FLAG_OPAQUE_BACKGROUND | FLAG_SHADOW | FLAG_NO_OUTLINE;
constexpr DWORD OUTLINE = FLAG_SNAP_TO_EDGES | FLAG_OPAQUE_BACKGROUND;

constexpr COLORREF DARK_DESKTOP = RGB(0, 40, 90);
constexpr COLORREF LIGHT_DESKTOP = RGB(200, 220, 180);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF GREY_ON_LIGHT_TEXT = RGB(50, 50, 50);
constexpr COLORREF GREY_ON_DARK_TEXT = RGB(205, 205, 205);

// The desktop colour is the system colour COLOR_BACKGROUND; under Wine a change
// reaches the programs started after it.
class DesktopColor {
public:
    explicit DesktopColor(COLORREF color) : saved(GetSysColor(COLOR_BACKGROUND)) { set(color); }
    ~DesktopColor() { set(saved); }
    static void set(COLORREF color) {
        const int element = COLOR_BACKGROUND;
        SetSysColors(1, &element, &color);
    }

private:
    COLORREF saved;
};

// The clock's client area as the clock painted it, in COLORREF values.
class FaceImage {
public:
    explicit FaceImage(HWND window) {
        const WindowImage image = captureClient(window);
        w = image.width;
        h = image.height;
        for (DWORD p : image.pixels) pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }

    // With QUILLET_FACE_PICTURES naming a folder, writes the image there as a
    // portable pixmap, for looking at the face.
    void save(const char* name) const {
        const char* folder = std::getenv("QUILLET_FACE_PICTURES");
        if (!folder) return;
        FILE* file = std::fopen((std::string(folder) + "\\" + name + ".ppm").c_str(), "wb");
        if (!file) return;
        std::fprintf(file, "P6\n%d %d\n255\n", w, h);
        for (COLORREF p : pixels) {
            const unsigned char rgb[3] = {GetRValue(p), GetGValue(p), GetBValue(p)};
            std::fwrite(rgb, 1, 3, file);
        }
        std::fclose(file);
    }

    int width() const { return w; }
    int height() const { return h; }
    COLORREF at(int x, int y) const { return pixels[y * w + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    int count(COLORREF color) const {
        int n = 0;
        for (COLORREF p : pixels) n += p == color;
        return n;
    }
    int countOther(const std::vector<COLORREF>& known) const {
        int n = 0;
        for (COLORREF p : pixels) {
            bool found = false;
            for (COLORREF k : known) found = found || p == k;
            n += !found;
        }
        return n;
    }

private:
    int w = 0, h = 0;
    std::vector<COLORREF> pixels;
};

// The number of pixels of one colour whose neighbour at (dx, dy) has another colour.
int countWithNeighbourOf(const FaceImage& image, COLORREF color, int dx, int dy, COLORREF neighbour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.at(x, y) == color && image.inside(x + dx, y + dy) && image.at(x + dx, y + dy) == neighbour) ++n;
        }
    }
    return n;
}

// Grey pixels that have no text pixel among their eight neighbours.
int countLonelyEdges(const FaceImage& image, COLORREF edge, COLORREF text) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.at(x, y) != edge) continue;
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    touches = touches || (image.inside(x + dx, y + dy) && image.at(x + dx, y + dy) == text);
                }
            }
            n += !touches;
        }
    }
    return n;
}

class FacePixels : public StartedClockTest {
protected:
    void start(DWORD flags) {
        startAt(flags, 200, 150);
        if (HasFatalFailure()) return;
        // The first paint has happened once the clock answers a sent message
        // after its window was shown; an explicit repaint makes sure of it.
        RedrawWindow(clock->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(clock->hwnd(), WM_NULL, 0, 0);
    }
};

struct Scene {
    const char* name;
    COLORREF desktop;
    COLORREF text;
    COLORREF edge;
};

const Scene SCENES[] = {
    {"dark", DARK_DESKTOP, WHITE, GREY_ON_LIGHT_TEXT},
    {"light", LIGHT_DESKTOP, BLACK, GREY_ON_DARK_TEXT},
};

TEST_F(FacePixels, TextOnlyIsTheAutomaticTextColourOnTheDesktopColour) {
    for (const Scene& scene : SCENES) {
        SCOPED_TRACE(scene.name);
        DesktopColor desktop(scene.desktop);
        start(TEXT_ONLY);
        const FaceImage image(clock->hwnd());
        image.save((std::string("text-only-") + scene.name).c_str());
        ASSERT_GT(image.width(), 2);
        EXPECT_EQ(scene.desktop, image.at(0, 0));
        EXPECT_EQ(scene.desktop, image.at(image.width() - 1, image.height() - 1));
        EXPECT_GT(image.count(scene.text), 10);
        EXPECT_EQ(0, image.count(scene.edge));
        EXPECT_EQ(0, image.countOther({scene.desktop, scene.text}));
        clock.reset();
    }
}

TEST_F(FacePixels, ShadowIsOnePixelDownAndRightInTheContrastingGrey) {
    for (const Scene& scene : SCENES) {
        SCOPED_TRACE(scene.name);
        DesktopColor desktop(scene.desktop);
        start(SHADOW);
        const FaceImage image(clock->hwnd());
        image.save((std::string("shadow-") + scene.name).c_str());
        EXPECT_EQ(scene.desktop, image.at(0, 0));
        EXPECT_GT(image.count(scene.text), 10);
        EXPECT_GT(image.count(scene.edge), 10);
        EXPECT_EQ(0, image.countOther({scene.desktop, scene.text, scene.edge}));
        // Each shadow pixel is the text shifted by (1, 1): the pixel up and to the
        // left of it is text, and below-right of any text there is no background.
        EXPECT_EQ(image.count(scene.edge), countWithNeighbourOf(image, scene.edge, -1, -1, scene.text));
        EXPECT_EQ(0, countWithNeighbourOf(image, scene.text, 1, 1, scene.desktop));
        // The other sides of the glyphs do touch the background.
        EXPECT_GT(countWithNeighbourOf(image, scene.text, -1, -1, scene.desktop), 0);
        clock.reset();
    }
}

TEST_F(FacePixels, OutlineSurroundsEveryGlyphWithTheContrastingGrey) {
    for (const Scene& scene : SCENES) {
        SCOPED_TRACE(scene.name);
        DesktopColor desktop(scene.desktop);
        start(OUTLINE);
        const FaceImage image(clock->hwnd());
        image.save((std::string("outline-") + scene.name).c_str());
        EXPECT_EQ(scene.desktop, image.at(0, 0));
        EXPECT_GT(image.count(scene.text), 10);
        EXPECT_GT(image.count(scene.edge), 10);
        EXPECT_EQ(0, image.countOther({scene.desktop, scene.text, scene.edge}));
        EXPECT_EQ(0, countLonelyEdges(image, scene.edge, scene.text));
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                EXPECT_EQ(0, countWithNeighbourOf(image, scene.text, dx, dy, scene.desktop)) << dx << "," << dy;
            }
        }
        clock.reset();
    }
}

TEST_F(FacePixels, CustomTextInTheDesktopColourLeavesTheOutlineVisible) {
    DesktopColor desktop(LIGHT_DESKTOP);
    writeSettingDword("FontColor", LIGHT_DESKTOP);
    start(OUTLINE | FLAG_CUSTOM_FONT);
    const FaceImage image(clock->hwnd());
    // The glyphs are drawn in the colour that is keyed out, so only their
    // outline shows: dark grey, since the (light) text colour is not dark.
    EXPECT_GT(image.count(GREY_ON_LIGHT_TEXT), 10);
    EXPECT_EQ(0, image.countOther({LIGHT_DESKTOP, GREY_ON_LIGHT_TEXT}));
}

struct LayeredCase {
    const char* name;
    DWORD flags;
    bool layered;
    DWORD attributes;
};

TEST_F(FacePixels, LayeredAttributesFollowTheTransparencySettings) {
    DesktopColor desktop(DARK_DESKTOP);
    const LayeredCase cases[] = {
        {"keyed background", FLAG_SNAP_TO_EDGES, true, LWA_COLORKEY},
        {"keyed and translucent", FLAG_SNAP_TO_EDGES | FLAG_TRANSLUCENT, true, LWA_COLORKEY | LWA_ALPHA},
        {"opaque", FLAG_SNAP_TO_EDGES | FLAG_OPAQUE_BACKGROUND, false, 0},
        {"opaque and translucent", FLAG_SNAP_TO_EDGES | FLAG_OPAQUE_BACKGROUND | FLAG_TRANSLUCENT, true, LWA_ALPHA},
    };
    for (const LayeredCase& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.flags);
        const bool layered = (GetWindowLongPtrA(clock->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ(c.layered, layered);
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD attributes = 0;
        const bool read = GetLayeredWindowAttributes(clock->hwnd(), &key, &alpha, &attributes) != FALSE;
        EXPECT_EQ(c.layered, read);
        if (read) {
            EXPECT_EQ(c.attributes, attributes);
            if (attributes & LWA_COLORKEY) {
                EXPECT_EQ(DARK_DESKTOP, key);
            }
            if (attributes & LWA_ALPHA) {
                EXPECT_EQ(180, alpha);
            }
        }
        clock.reset();
    }
}

}  // namespace
