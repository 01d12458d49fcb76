// The pictures of an announced schedule's bell as its age grows.
#pragma once

#include <cstdint>

// Indexes of the clock's seven notification icons.
constexpr uint8_t STAGE_SWING_A = 0;      // blinking, phase bit clear
constexpr uint8_t STAGE_SWING_B = 1;      // blinking, phase bit set; a fresh announcement
constexpr uint8_t STAGE_UPRIGHT = 2;      // from the first whole minute
constexpr uint8_t STAGE_MAGENTA = 3;      // 5 minutes
constexpr uint8_t STAGE_RED = 4;          // 10 minutes
constexpr uint8_t STAGE_RED_STROKES = 5;  // 15 minutes
constexpr uint8_t STAGE_OLIVE = 6;        // 30 minutes, and every missed schedule

// The stage after one animation pass of a schedule that no longer blinks and
// fell due `minutes` whole minutes ago: at most one step per pass, so a late
// announcement climbs to the stage its age calls for. Stages 0, 1 and 6 stay.
uint8_t steppedIconStage(uint8_t stage, uint64_t minutes);
