#include "util/PathText.h"

#include "util/TextBuffer.h"

size_t folderPartLength(const char* path) {
    size_t folderLength = 0;
    size_t i = 0;
    while (path[i] != '\0') {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte932(c) && path[i + 1] != '\0') {
            i += 2;
            continue;
        }
        ++i;
        if (c == '\\' || c == '/' || c == ':') folderLength = i;
    }
    return folderLength;
}
