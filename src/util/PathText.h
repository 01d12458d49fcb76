// Splitting a path held as code page 932 text.
#pragma once

#include <cstddef>

// The length of the folder part of a path: up to and including its last '\\', '/'
// or drive ':'; 0 for a bare file name. The path is walked forward a character at
// a time, because the second byte of many kanji (表, 予, ソ, 十, 能) is 0x5C, the
// byte of the backslash, and a byte-wise search would split such a name in two.
size_t folderPartLength(const char* path);
