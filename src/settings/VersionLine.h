// The version line of the About page, from the product version numbers of the
// program's version resource.
#pragma once

#include <cstddef>
#include <cstdint>

// "Version a.b.c  Build dddd" from the high and low halves of the two product
// version words; all zero gives "Version 0.0.0  Build 0000".
void formatVersionLine(char* out, size_t size, uint32_t productVersionMS, uint32_t productVersionLS);
