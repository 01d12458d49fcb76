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
// The same pictures drawn at 125, 150 and 200 %.
#define IDB_MENU_PICTURES_20 137
#define IDB_MENU_PICTURES_24 138
#define IDB_MENU_PICTURES_32 146

// Commands, shared by menu 109, accelerator table 109, Setup and the hand-over
// from a second start of the program.
#define CMD_EXIT 105
#define CMD_SAVE_POSITION 32772
#define CMD_ADD_SCHEDULE 32789
#define CMD_ADJUST_DATETIME 32793
#define CMD_LOCK_POSITION 32795
#define CMD_PROPERTIES 32799
#define CMD_TRAY_DISMISS 32801
#define CMD_TRAY_DETAILS 32802
#define CMD_LIST_DELETE 32813
#define CMD_LIST_DETAILS 32815
#define CMD_SCHEDULE_MANAGER 32821

// Schedule dialogs: adding a schedule, the calendar, and a schedule's details.
#define IDS_UNTITLED 106
#define IDS_TYPE_SPECIFIC_DATE 111
#define IDS_TYPE_MONTHLY 112
#define IDS_TYPE_WEEKDAY 113
#define IDS_TYPE_YEARLY 114
#define IDS_WEEK_EVERY 115
#define IDS_WEEK_FIRST 116
#define IDS_WEEK_SECOND 117
#define IDS_WEEK_THIRD 118
#define IDS_WEEK_FOURTH 119
#define IDS_WEEK_LAST 120
#define IDS_SUNDAY 121
#define IDS_MONDAY 122
#define IDS_TUESDAY 123
#define IDS_WEDNESDAY 124
#define IDS_THURSDAY 125
#define IDS_FRIDAY 126
#define IDS_SATURDAY 127
#define IDD_ADD_SCHEDULE 139
#define IDD_CALENDAR 141
#define IDD_SCHEDULE_DETAIL 142
#define IDC_ADD_CALENDAR 4
#define IDC_ADD_TYPE 1011
#define IDC_ADD_WEEK 1017
#define IDC_ADD_WEEKDAY 1018
#define IDC_ADD_CONTENT 1022
#define IDC_ADD_TIME 1025
#define IDC_ADD_DATE 1026
#define IDC_ADD_DAY 1027
#define IDC_ADD_MONTH 1028
#define IDC_CALENDAR_MONTH 1015
#define IDC_DETAIL_DATE 1020
#define IDC_DETAIL_NAME 1021
#define IDC_DETAIL_CONTENT 1022
#define IDC_DETAIL_DELETE 1024
#define IDC_DETAIL_CHANGE 1025

// Property sheet: the Display, Other and About pages and their controls. The
// pages number their controls independently, so some numbers repeat.
#define IDD_ABOUT_PAGE 103
#define IDD_DISPLAY_PAGE 133
#define IDD_OTHER_PAGE 143
// Display page
#define IDC_TRANSPARENT_BACKGROUND 1006
#define IDC_TRANSLUCENT 1007
#define IDC_SHOW_YEAR 1008
#define IDC_LOCAL_CALENDAR 1009
#define IDC_TEXT_EFFECT 1010
#define IDC_DATE_FORM 1011
#define IDC_SHOW_WEEKDAY 1012
#define IDC_SHOW_MONTH 1013
#define IDC_SHOW_ERA 1014
#define IDC_CUSTOM_FONT 1015
#define IDC_SHOW_SECONDS 1016
#define IDC_CHOOSE_FONT 1033
// Other page
#define IDC_SNAP_TO_EDGES 1002
#define IDC_TOPMOST 1005
#define IDC_MENU_CHOICE 1009
// About page
#define IDC_PROGRAM_ICON 2
#define IDC_VERSION_LINE 1000
#define IDC_WEB_PAGE 1010
#define IDC_SUPPORT_PAGE 1029

// The schedule manager: the filter's first two entries (the type names follow
// them), the dialog and its controls.
#define IDS_FILTER_TODAY 104
#define IDS_FILTER_ALL 105
#define IDD_SCHEDULE_MANAGER 145
#define IDC_MANAGER_ADD 1011
#define IDC_MANAGER_LIST 1028
#define IDC_MANAGER_FILTER 1035
