// Bits of the Flags word. Bits 1 to 18 are kept in the registry; bit 0 is the
// drag in progress and bits 19 to 31 are unused: neither is saved nor replaced
// by a load.
#pragma once

#include <cstdint>

constexpr uint32_t FLAG_DRAGGING = 0x1;
constexpr uint32_t FLAG_SNAP_TO_EDGES = 0x2;
constexpr uint32_t FLAG_SHADOW = 0x4;
constexpr uint32_t FLAG_POSITION_LOCKED = 0x8;
constexpr uint32_t FLAG_MENU_HIDDEN = 0x10;
constexpr uint32_t FLAG_TOPMOST = 0x20;
constexpr uint32_t FLAG_MENU_SIMPLE = 0x40;
constexpr uint32_t FLAG_OPAQUE_BACKGROUND = 0x80;
constexpr uint32_t FLAG_TRANSLUCENT = 0x100;
constexpr uint32_t FLAG_NO_OUTLINE = 0x200;
constexpr uint32_t FLAG_DATE_FORM_MASK = 0xC00;
constexpr uint32_t FLAG_HIDE_YEAR = 0x1000;
constexpr uint32_t FLAG_HIDE_MONTH = 0x2000;
constexpr uint32_t FLAG_HIDE_WEEKDAY = 0x4000;
constexpr uint32_t FLAG_LOCAL_CALENDAR = 0x8000;
constexpr uint32_t FLAG_SHOW_ERA = 0x10000;
constexpr uint32_t FLAG_CUSTOM_FONT = 0x20000;
constexpr uint32_t FLAG_SHOW_SECONDS = 0x40000;

// Values of the date form field (FLAG_DATE_FORM_MASK). The field's fourth value,
// 0xC00, is never offered to the user and is read as the short form.
constexpr uint32_t FLAG_DATE_FORM_LONG = 0x0;
constexpr uint32_t FLAG_DATE_FORM_SHORT = 0x400;
constexpr uint32_t FLAG_DATE_FORM_HIDDEN = 0x800;

// The part of the word that is written to the registry and replaced by a load.
constexpr uint32_t SETTINGS_PERSISTED_MASK = 0x7FFFE;

constexpr uint32_t FLAGS_DEFAULT = FLAG_SNAP_TO_EDGES;
