// How many rounds or cases a test makes: the test command's default, or the
// number a full run (the scripts) asks for in an environment variable.
#pragma once

#include <cstdlib>

inline int askedCount(const char* variable, int fallback) {
    const char* asked = std::getenv(variable);
    return asked ? std::atoi(asked) : fallback;
}
