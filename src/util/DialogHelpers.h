// Small helpers that fill and read dialog controls.
#pragma once

#include <windows.h>
#include <cstdint>

BOOL enableDlgItem(HWND dialog, int controlId, BOOL enable);
BOOL showDlgItem(HWND dialog, int controlId, BOOL show);
int getDlgItemTextLength(HWND dialog, int controlId);
bool getComboSel(HWND dialog, int controlId, uint32_t* index);
// packed: NUL-terminated strings laid end to end.
bool fillComboFromList(HWND dialog, int controlId, const char* packed, uint32_t count, uint32_t selection);
bool fillComboFromStrings(HWND dialog, int controlId, const UINT* stringIds, uint32_t count, uint32_t selection);
