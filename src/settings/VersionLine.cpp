#include "settings/VersionLine.h"

#include <cstdio>

void formatVersionLine(char* out, size_t size, uint32_t productVersionMS, uint32_t productVersionLS) {
    std::snprintf(out, size, "Version %u.%u.%u  Build %04u", productVersionMS >> 16, productVersionMS & 0xFFFF,
                  productVersionLS >> 16, productVersionLS & 0xFFFF);
}
