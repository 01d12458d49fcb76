// Bits of the Flags word. Bits 1 to 18 are kept in the registry; bit 0 is the
// drag in progress and is never saved.
#pragma once

#include <cstdint>

constexpr uint32_t FLAG_DRAGGING = 0x1;
constexpr uint32_t FLAG_SNAP_TO_EDGES = 0x2;
constexpr uint32_t FLAG_POSITION_LOCKED = 0x8;
constexpr uint32_t FLAG_MENU_HIDDEN = 0x10;
constexpr uint32_t FLAG_TOPMOST = 0x20;
constexpr uint32_t FLAG_MENU_SIMPLE = 0x40;
constexpr uint32_t FLAG_SHOW_SECONDS = 0x40000;

constexpr uint32_t FLAGS_DEFAULT = FLAG_SNAP_TO_EDGES;
