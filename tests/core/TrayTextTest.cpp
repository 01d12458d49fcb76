#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "schedule/TrayText.h"
#include "util/TextBuffer.h"

namespace {

// "あ" in code page 932: a lead byte and a trail byte.
const std::string A = "\x82\xA0";

std::string repeat(const std::string& s, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += s;
    return out;
}

TEST(TrayText, TipJoinsPrefixBlankAndTextWithinTheField) {
    char tip[TRAY_TIP_SIZE];
    std::memset(tip, 'x', sizeof tip);
    buildTrayTip(tip, "午前 9:05", "会議");
    EXPECT_STREQ(tip, "午前 9:05 会議");

    buildTrayTip(tip, nullptr, "会議");
    EXPECT_STREQ(tip, "会議");
    buildTrayTip(tip, "", "会議");  // a failed time format leaves no stray blank
    EXPECT_STREQ(tip, "会議");

    // A long text is cut at 127 bytes, but never inside a character: prefix of
    // 4 bytes and a blank leave 122 bytes, 61 whole characters.
    buildTrayTip(tip, "abcd", repeat(A, 100).c_str());
    EXPECT_EQ(std::string(tip), "abcd " + repeat(A, 61));
    // With an odd room the lead byte that would be last is dropped.
    buildTrayTip(tip, "abc", repeat(A, 100).c_str());
    EXPECT_EQ(std::string(tip), "abc " + repeat(A, 61));
}

TEST(TrayText, TipLeavesTheTextOutWhenThePrefixIsTooLong) {
    char tip[TRAY_TIP_SIZE];
    buildTrayTip(tip, std::string(125, 'p').c_str(), "text");  // room for the blank and one byte
    EXPECT_EQ(std::string(tip), std::string(125, 'p') + " t");
    buildTrayTip(tip, std::string(126, 'p').c_str(), "text");
    EXPECT_EQ(std::string(tip), std::string(126, 'p'));
    buildTrayTip(tip, std::string(300, 'p').c_str(), "text");
    EXPECT_EQ(std::string(tip), std::string(127, 'p'));
    // A prefix cut on a character boundary at 126 bytes still leaves the text out.
    buildTrayTip(tip, repeat(A, 70).c_str(), "text");
    EXPECT_EQ(std::string(tip), repeat(A, 63));
}

TEST(TrayText, BalloonTextIsCutOnACharacterBoundary) {
    char balloon[TRAY_BALLOON_TEXT_SIZE];
    buildBalloonText(balloon, repeat(A, 200).c_str());
    EXPECT_EQ(std::string(balloon), repeat(A, 127));  // 254 bytes, the 128th lead byte is dropped
    buildBalloonText(balloon, ("x" + repeat(A, 200)).c_str());
    EXPECT_EQ(std::string(balloon), "x" + repeat(A, 127));  // exactly 255 bytes
    buildBalloonText(balloon, std::string(400, 'y').c_str());
    EXPECT_EQ(std::string(balloon), std::string(255, 'y'));
    buildBalloonText(balloon, nullptr);
    EXPECT_STREQ(balloon, "");
}

TEST(TrayText, BalloonTitleIsPrefixThenSuffixWithinSixtyThreeBytes) {
    char title[TRAY_BALLOON_TITLE_SIZE];
    buildBalloonTitle(title, "午後 3:00", " 予定の通知");
    EXPECT_STREQ(title, "午後 3:00 予定の通知");
    buildBalloonTitle(title, "", " 通知できなかった予定");
    EXPECT_STREQ(title, " 通知できなかった予定");
    buildBalloonTitle(title, "午前 9:05", nullptr);
    EXPECT_STREQ(title, "午前 9:05");

    // The suffix gets the room the prefix leaves, cut on a character boundary.
    buildBalloonTitle(title, std::string(58, 'p').c_str(), " 予定の通知");
    EXPECT_EQ(std::string(title), std::string(58, 'p') + " " + std::string("予定", 4));
    buildBalloonTitle(title, std::string(63, 'p').c_str(), " 予定の通知");
    EXPECT_EQ(std::string(title), std::string(63, 'p'));
    buildBalloonTitle(title, repeat(A, 40).c_str(), " 予定の通知");
    EXPECT_EQ(std::string(title), repeat(A, 31) + " ");  // 62 bytes of prefix, the blank, no room for more
}

// Contents that are nothing but lead bytes of code page 932 (each two of them one
// character, an odd last one half of one), a megabyte, or nothing: every text
// made from them is a whole-character prefix of the content.
bool wholeCharacterPrefix(const std::string& cut, const std::string& whole) {
    size_t at = 0;
    while (at < cut.size()) at += isLeadByte932(static_cast<unsigned char>(cut[at])) ? 2 : 1;
    return at == cut.size() && whole.compare(0, cut.size(), cut) == 0;
}

TEST(TrayText, ContentsOfLeadBytesOnlyOrAMegabyteAreCutOnCharacterBoundaries) {
    std::string leadBytes;
    for (int c = 0x81; c <= 0xFC; ++c)
        if (isLeadByte932(static_cast<unsigned char>(c))) leadBytes += static_cast<char>(c);
    const std::string contents[] = {"", leadBytes, leadBytes.substr(0, 1), repeat(leadBytes, 17000),
                                    repeat(leadBytes, 17000) + "\x81", std::string(1 << 20, 'a')};
    for (const std::string& content : contents) {
        SCOPED_TRACE(content.size());
        char tip[TRAY_TIP_SIZE], balloon[TRAY_BALLOON_TEXT_SIZE];
        buildTrayTip(tip, "", content.c_str());
        buildBalloonText(balloon, content.c_str());
        EXPECT_TRUE(wholeCharacterPrefix(tip, content));
        EXPECT_TRUE(wholeCharacterPrefix(balloon, content));
        EXPECT_GE(std::strlen(balloon), std::min<size_t>(content.size() & ~size_t{1}, sizeof balloon - 2));

        TextBuffer text, line;
        ASSERT_TRUE(text.assignBytes(content.c_str(), static_cast<uint32_t>(content.size())));
        EXPECT_TRUE(wholeCharacterPrefix(text.c_str(), content));
        EXPECT_GE(text.length() + 1, content.size());
        ASSERT_TRUE(line.assignFirstLine(text));
        EXPECT_EQ(std::string(line.c_str()), text.c_str()) << "no line break in them";
        line.collapseBlanks();
        EXPECT_EQ(std::string(line.c_str()), text.c_str()) << "no blanks in them";
    }
}

}  // namespace
