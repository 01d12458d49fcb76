// Sizing, layering and refitting of the face on a real window of this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "win/ClockOnWindow.h"

namespace {

class FaceWindow : public ClockOnWindow {
protected:
    void setText(const char* text) {
        std::strcpy(clock->displayText, text);
        clock->textLength = static_cast<int32_t>(std::strlen(text));
    }

    bool layered() const { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
};

TEST_F(FaceWindow, EmptyTextShrinksTheFaceToItsMargins) {
    setText("12:34");
    ASSERT_TRUE(clock->measureFace());
    EXPECT_GT(clock->faceRect.right, 2);
    const LONG textHeight = clock->faceRect.bottom;
    setText("");
    ASSERT_TRUE(clock->measureFace());
    EXPECT_EQ(0, clock->faceRect.left);
    EXPECT_EQ(0, clock->faceRect.top);
    EXPECT_EQ(2, clock->faceRect.right);
    EXPECT_LE(clock->faceRect.bottom, textHeight);
}

TEST_F(FaceWindow, LayeringIsAddedAndRemovedAsTheSettingsChange) {
    clock->backColor = RGB(10, 20, 30);
    clock->flags = FLAGS_DEFAULT | FLAG_TRANSLUCENT;
    clock->applyLayering();
    EXPECT_TRUE(layered());
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD attributes = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &attributes));
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY), attributes);
    EXPECT_EQ(RGB(10, 20, 30), key);
    EXPECT_EQ(180, alpha);

    // Opaque and not translucent: no longer layered, other styles kept.
    clock->flags = FLAGS_DEFAULT | FLAG_OPAQUE_BACKGROUND;
    clock->applyLayering();
    EXPECT_FALSE(layered());
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    clock->flags = FLAGS_DEFAULT;
    clock->applyLayering();
    EXPECT_TRUE(layered());
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &attributes));
    EXPECT_EQ(static_cast<DWORD>(LWA_COLORKEY), attributes);
}

TEST_F(FaceWindow, RefitTakesTheNewDesktopColourAndMovesToThePosition) {
    const int element = COLOR_BACKGROUND;
    const COLORREF original = GetSysColor(element);
    const COLORREF changed = original == RGB(1, 2, 3) ? RGB(4, 5, 6) : RGB(1, 2, 3);
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    setText("12:34");
    clock->posX = 140;
    clock->posY = 90;
    clock->refitFace();
    SetSysColors(1, &element, &original);

    EXPECT_EQ(changed, clock->backColor);
    COLORREF key = 0;
    DWORD attributes = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &attributes));
    EXPECT_EQ(changed, key);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(140, r.left);
    EXPECT_EQ(90, r.top);
    EXPECT_EQ(clock->faceRect.right, r.right - r.left);
    EXPECT_EQ(clock->faceRect.bottom, r.bottom - r.top);
}

TEST_F(FaceWindow, CustomFontIsKeptByRefit) {
    clock->flags = FLAGS_DEFAULT | FLAG_CUSTOM_FONT;
    std::strcpy(clock->logFont.lfFaceName, "Custom face");
    clock->logFont.lfHeight = -31;
    clock->refitFace();
    EXPECT_STREQ("Custom face", clock->logFont.lfFaceName);
    EXPECT_EQ(-31, clock->logFont.lfHeight);

    clock->flags = FLAGS_DEFAULT;
    clock->refitFace();
    LOGFONTA iconTitle = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);
    EXPECT_STREQ(iconTitle.lfFaceName, clock->logFont.lfFaceName);
    EXPECT_EQ(iconTitle.lfHeight, clock->logFont.lfHeight);
}

}  // namespace
