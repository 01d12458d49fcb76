// Helpers of the add-schedule dialog that are useful on their own.
#pragma once

#include <windows.h>

// Adds the texts `format` gives for the numbers first to last to a combo box and
// selects `selection`; false, adding nothing, without such a control or when
// first is greater than last.
bool fillNumberedComboBox(HWND dialog, int controlId, int first, int last, const char* format, WPARAM selection);
