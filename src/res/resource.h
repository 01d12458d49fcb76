// Resource identifiers shared by the code and the resource scripts.
#pragma once

// Strings
#define IDS_WINDOW_TITLE 103
#define IDS_WINDOW_CLASS 109

// Icons
#define IDI_QUILLET 107
#define IDI_QUILLET_SMALL 108
#define IDI_SETUP 110
#define IDI_NOTICE 213
#define IDI_BELL_UPRIGHT 214
#define IDI_BELL_BLINK_A 215
#define IDI_BELL_BLINK_B 217
#define IDI_BELL_MAGENTA 218
#define IDI_BELL_RED 219
#define IDI_BELL_OLIVE 220
#define IDI_BELL_RED_STROKES 221

// Menu, accelerators and the menu pictures
#define IDR_MAIN_MENU 109
#define IDR_ACCELERATORS 109
#define IDB_MENU_PICTURES 136
