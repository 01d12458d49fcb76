// Sizing, layering and refitting of the face on a real window of this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>

#include "app/ClockWindow.h"
#include "settings/Flags.h"

namespace {

class FaceWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 50, 20, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        face = std::make_unique<ClockWindow>();
        face->hwnd = window;
        face->flags = FLAGS_DEFAULT;
        face->reloadDefaultFont();
    }
    void TearDown() override {
        face.reset();
        DestroyWindow(window);
    }

    void setText(const char* text) {
        std::strcpy(face->displayText, text);
        face->textLength = static_cast<int32_t>(std::strlen(text));
    }

    bool layered() const { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

    HWND window = nullptr;
    std::unique_ptr<ClockWindow> face;
};

TEST_F(FaceWindow, EmptyTextShrinksTheFaceToItsMargins) {
    setText("12:34");
    ASSERT_TRUE(face->measureFace());
    EXPECT_GT(face->faceRect.right, 2);
    const LONG textHeight = face->faceRect.bottom;
    setText("");
    ASSERT_TRUE(face->measureFace());
    EXPECT_EQ(0, face->faceRect.left);
    EXPECT_EQ(0, face->faceRect.top);
    EXPECT_EQ(2, face->faceRect.right);
    EXPECT_LE(face->faceRect.bottom, textHeight);
}

TEST_F(FaceWindow, LayeringIsAddedAndRemovedAsTheSettingsChange) {
    face->backColor = RGB(10, 20, 30);
    face->flags = FLAGS_DEFAULT | FLAG_TRANSLUCENT;
    face->applyLayering();
    EXPECT_TRUE(layered());
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD attributes = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &attributes));
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY), attributes);
    EXPECT_EQ(RGB(10, 20, 30), key);
    EXPECT_EQ(180, alpha);

    // Opaque and not translucent: no longer layered, other styles kept.
    face->flags = FLAGS_DEFAULT | FLAG_OPAQUE_BACKGROUND;
    face->applyLayering();
    EXPECT_FALSE(layered());
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    face->flags = FLAGS_DEFAULT;
    face->applyLayering();
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
    face->posX = 140;
    face->posY = 90;
    face->refitFace();
    SetSysColors(1, &element, &original);

    EXPECT_EQ(changed, face->backColor);
    COLORREF key = 0;
    DWORD attributes = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &attributes));
    EXPECT_EQ(changed, key);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(140, r.left);
    EXPECT_EQ(90, r.top);
    EXPECT_EQ(face->faceRect.right, r.right - r.left);
    EXPECT_EQ(face->faceRect.bottom, r.bottom - r.top);
}

TEST_F(FaceWindow, CustomFontIsKeptByRefit) {
    face->flags = FLAGS_DEFAULT | FLAG_CUSTOM_FONT;
    std::strcpy(face->logFont.lfFaceName, "Custom face");
    face->logFont.lfHeight = -31;
    face->refitFace();
    EXPECT_STREQ("Custom face", face->logFont.lfFaceName);
    EXPECT_EQ(-31, face->logFont.lfHeight);

    face->flags = FLAGS_DEFAULT;
    face->refitFace();
    LOGFONTA iconTitle = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0);
    EXPECT_STREQ(iconTitle.lfFaceName, face->logFont.lfFaceName);
    EXPECT_EQ(iconTitle.lfHeight, face->logFont.lfHeight);
}

}  // namespace
