#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "util/TextBuffer.h"

namespace {

std::string textOf(const TextBuffer& b) { return b.data ? std::string(b.data) : std::string("<null>"); }

TEST(TextBuffer, ReserveAllocatesOneMoreThanAskedAndKeepsContents) {
    TextBuffer b;
    ASSERT_TRUE(b.reserve(0));
    ASSERT_NE(b.data, nullptr);
    EXPECT_EQ(b.capacity, 1u);
    EXPECT_EQ(b.data[0], '\0');

    b.assign("abc");
    char* before = b.data;
    ASSERT_TRUE(b.reserve(2));  // large enough: left alone
    EXPECT_EQ(b.data, before);
    ASSERT_TRUE(b.reserve(100));
    EXPECT_EQ(b.capacity, 101u);
    EXPECT_EQ(textOf(b), "abc");
    EXPECT_FALSE(b.reserve(UINT32_MAX));  // n + 1 would wrap around
    EXPECT_EQ(textOf(b), "abc");
}

TEST(TextBuffer, AssignOfEmptyKeepsBlockButAssignBufferFromEmptyFreesIt) {
    TextBuffer b;
    b.assign("hello");
    char* block = b.data;
    b.assign("");
    EXPECT_EQ(b.data, block);
    EXPECT_EQ(textOf(b), "");

    TextBuffer empty, other;
    other.assign("x");
    ASSERT_TRUE(other.assignBuffer(empty));
    EXPECT_EQ(other.data, nullptr);
    EXPECT_EQ(other.capacity, 0u);

    TextBuffer source, copy;
    source.assign("予定");
    ASSERT_TRUE(copy.assignBuffer(source));
    EXPECT_EQ(textOf(copy), textOf(source));
    EXPECT_NE(copy.data, source.data);
}

TEST(TextBuffer, AssignFirstLineEndsOnlyAtCrLf) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"abc\r\ndef", "abc"}, {"abc\ndef", "abc\ndef"}, {"a\rb", "a\rb"}, {"\r\nx", ""}, {"one", "one"}};
    for (const Case& c : cases) {
        TextBuffer source, line;
        source.assign(c.in);
        ASSERT_TRUE(line.assignFirstLine(source));
        EXPECT_EQ(textOf(line), c.out) << c.in;
    }
    TextBuffer empty, line;
    line.assign("old");
    ASSERT_TRUE(line.assignFirstLine(empty));
    EXPECT_EQ(textOf(line), "");
}

TEST(TextBuffer, CollapseBlanksDropsLeadingAndFoldsRuns) {
    TextBuffer b;
    b.assign("  a \t b  ");
    char* end = b.collapseBlanks();
    EXPECT_EQ(textOf(b), "a b ");
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end, b.data + 4);
    EXPECT_EQ(*end, '\0');

    b.assign(" \t ");
    b.collapseBlanks();
    EXPECT_EQ(textOf(b), "");

    TextBuffer none;
    EXPECT_EQ(none.collapseBlanks(), nullptr);
}

TEST(TextBuffer, AppendGrowsAndIgnoresEmptyAndNul) {
    TextBuffer b;
    ASSERT_TRUE(b.append(""));
    EXPECT_EQ(b.data, nullptr);  // appending nothing allocates nothing
    ASSERT_TRUE(b.appendChar('\0'));
    EXPECT_EQ(b.data, nullptr);

    ASSERT_TRUE(b.append("ab"));
    ASSERT_TRUE(b.appendChar('c'));
    ASSERT_TRUE(b.append("日本"));
    EXPECT_EQ(textOf(b), "abc日本");
    EXPECT_GE(b.capacity, b.length() + 1);
    ASSERT_TRUE(b.appendChar('\0'));
    EXPECT_EQ(textOf(b), "abc日本");
}

TEST(TextBuffer, AssignBytesNeverSplitsADoubleByteCharacter) {
    // "予定" is four bytes in code page 932; cutting after three must not keep half of 定.
    const char* text = "予定";
    ASSERT_EQ(std::strlen(text), 4u);
    TextBuffer b;
    ASSERT_TRUE(b.assignBytes(text, 4));
    EXPECT_EQ(textOf(b), "予定");
    ASSERT_TRUE(b.assignBytes(text, 3));
    EXPECT_EQ(textOf(b), "予");

    // A NUL inside the bytes ends the text; the block still holds n + 1 bytes.
    const char withNul[] = {'a', '\0', 'b', 'c'};
    ASSERT_TRUE(b.assignBytes(withNul, 4));
    EXPECT_EQ(textOf(b), "a");
    EXPECT_EQ(b.data[4], '\0');
}

TEST(TextBuffer, CopyCharsBoundedPadsAndDropsTrailingLeadByte) {
    char out[6];
    std::memset(out, 'x', sizeof out);
    copyCharsBounded(out, "ab", 5);
    EXPECT_EQ(std::string(out, 5), std::string("ab\0\0\0", 5));

    const char lead[] = {'a', static_cast<char>(0x82), '\0'};
    std::memset(out, 'x', sizeof out);
    copyCharsBounded(out, lead, 3);
    EXPECT_EQ(std::string(out, 3), std::string("a\0\0", 3));
}

}  // namespace
