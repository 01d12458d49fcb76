// The picture string handed to the system's date formatting, composed from the
// date options of the Flags word.
#pragma once

#include <cstddef>
#include <cstdint>

// Capacity of the clock's date picture, terminating NUL included.
constexpr size_t DATE_PICTURE_CAPACITY = 128;

// Writes the picture for `flags` into `picture` (DATE_PICTURE_CAPACITY bytes).
// Returns false and leaves `picture` as it was when the date form is hidden.
bool buildDatePicture(uint32_t flags, char* picture);

// Removes every pair of adjacent apostrophes in place, so that two quoted
// literals that meet become one; single apostrophes stay. At most `limit` - 1
// characters are examined (a removed pair counts as one); the text is cut there.
// False only for a null `text`.
bool mergeQuotedLiterals(char* text, int32_t limit);
