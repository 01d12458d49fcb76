// The face text as the system formats it on the Japanese locale of the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/ClockWindow.h"
#include "settings/Flags.h"

namespace {

// Thursday 1 April 2010, 9:05:07.
const SYSTEMTIME SAMPLE_TIME = {2010, 4, 4, 1, 9, 5, 7, 0};

class DateTimeText : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests need the Japanese code page"; }

    std::unique_ptr<ClockWindow> windowWith(uint32_t flags) {
        auto window = std::make_unique<ClockWindow>();
        window->flags = flags;
        window->now = SAMPLE_TIME;
        window->buildDatePicture();
        return window;
    }

    // The whole face text, checked against the lengths the painting relies on.
    static std::string faceText(const ClockWindow& window) {
        EXPECT_EQ(std::strlen(window.displayText), static_cast<size_t>(window.textLength));
        return std::string(window.displayText, window.textLength);
    }
};

TEST_F(DateTimeText, DefaultsShowTheLongDateABlankAndTheTimeWithoutSeconds) {
    auto window = windowWith(FLAGS_DEFAULT);
    EXPECT_TRUE(window->formatDate());
    EXPECT_TRUE(window->formatTime());
    EXPECT_EQ(faceText(*window), "2010年4月01日(木) 9:05");
    EXPECT_EQ(window->dateLength, static_cast<int32_t>(std::strlen("2010年4月01日(木) ")));

    // Seconds change only the time; the date prefix stays as it was formatted.
    window->flags |= FLAG_SHOW_SECONDS;
    window->now.wSecond = 8;
    EXPECT_TRUE(window->formatTime());
    EXPECT_EQ(faceText(*window), "2010年4月01日(木) 9:05:08");
    window->flags &= ~FLAG_SHOW_SECONDS;
    EXPECT_TRUE(window->formatTime());
    EXPECT_EQ(faceText(*window), "2010年4月01日(木) 9:05");
}

TEST_F(DateTimeText, OtherFormsAndTheHiddenDate) {
    auto window = windowWith(FLAG_DATE_FORM_SHORT | FLAG_HIDE_YEAR | FLAG_SHOW_SECONDS);
    window->now.wHour = 23;
    window->formatDate();
    window->formatTime();
    EXPECT_EQ(faceText(*window), "4/01(木) 23:05:07");

    window = windowWith(FLAG_HIDE_YEAR | FLAG_HIDE_MONTH | FLAG_HIDE_WEEKDAY);
    window->formatDate();
    window->formatTime();
    EXPECT_EQ(faceText(*window), "01日 9:05");

    // Hidden: no date and no blank; the picture of the earlier form is kept.
    const std::string earlierPicture = window->datePicture;
    window->flags = FLAG_DATE_FORM_HIDDEN;
    window->buildDatePicture();
    EXPECT_EQ(window->datePicture, earlierPicture);
    EXPECT_TRUE(window->formatDate());
    EXPECT_EQ(window->dateLength, 0);
    window->formatTime();
    EXPECT_EQ(faceText(*window), "9:05");
}

TEST_F(DateTimeText, AFailedDateLeavesTheTimeAloneWithNoBlank) {
    auto window = windowWith(FLAGS_DEFAULT);
    window->formatDate();
    window->formatTime();
    ASSERT_GT(window->dateLength, 0);
    // A picture whose result does not fit the face text makes the formatting fail.
    const std::string tooLong = "'" + std::string(124, 'x') + "'yyyy";
    std::strcpy(window->datePicture, tooLong.c_str());
    EXPECT_FALSE(window->formatDate());
    EXPECT_EQ(window->dateLength, 0);
    window->formatTime();
    EXPECT_EQ(faceText(*window), "9:05");
}

TEST_F(DateTimeText, AFailedTimeLeavesTheDatePrefixWithItsBlank) {
    auto window = windowWith(FLAGS_DEFAULT);
    window->formatDate();
    window->now.wMinute = 61;  // the time formatting refuses it
    EXPECT_FALSE(window->formatTime());
    EXPECT_EQ(faceText(*window), "2010年4月01日(木) ");
    EXPECT_EQ(window->textLength, window->dateLength);

    // A date prefix that fills the text leaves no room for the time: the text
    // stays within its buffer instead of claiming bytes that were never written.
    window->now = SAMPLE_TIME;
    std::memset(window->displayText, 'x', 127);
    window->displayText[127] = '\0';
    window->dateLength = 127;
    EXPECT_FALSE(window->formatTime());
    EXPECT_EQ(window->textLength, 127);
    EXPECT_EQ(window->displayText[127], '\0');
}

}  // namespace
