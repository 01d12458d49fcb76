// The folder part of a code page 932 path. The bytes are spelled out because the
// native build keeps its literals in UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "util/PathText.h"

namespace {

// 予 97 5C, 定 92 E8, 表 95 5C: two of the three end in the backslash byte.
const std::string YOTEIHYOU = "\x97\x5C\x92\xE8\x95\x5C";

TEST(FolderPartLength, EndsAfterTheLastSeparatorNotInsideAKanji) {
    const struct {
        std::string path;
        std::string folder;
    } rows[] = {
        {"C:\\Tools\\Quillet.exe", "C:\\Tools\\"},
        {"C:\\" + YOTEIHYOU + "\\" + YOTEIHYOU + ".exe", "C:\\" + YOTEIHYOU + "\\"},
        {"C:\\Tools\\" + YOTEIHYOU, "C:\\Tools\\"},
        {"\\\\server\\share\\" + YOTEIHYOU + "\\x.exe", "\\\\server\\share\\" + YOTEIHYOU + "\\"},
        {"/tmp/quillet/Quillet.exe", "/tmp/quillet/"},
        {"C:Quillet.exe", "C:"},
        {YOTEIHYOU + ".exe", ""},
        {"", ""},
        // A lead byte cut off by the end is a byte of its own.
        {"C:\\a\\\x97", "C:\\a\\"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(folderPartLength(row.path.c_str()), row.folder.size()) << row.path;
    }
}

}  // namespace
