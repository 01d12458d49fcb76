#include "schedule/IconStage.h"

uint8_t steppedIconStage(uint8_t stage, uint64_t minutes) {
    switch (stage) {
    case STAGE_UPRIGHT:
        return minutes >= 5 ? STAGE_MAGENTA : stage;
    case STAGE_MAGENTA:
        return minutes >= 10 ? STAGE_RED : stage;
    case STAGE_RED:
        return minutes >= 15 ? STAGE_RED_STROKES : stage;
    case STAGE_RED_STROKES:
        return minutes >= 30 ? STAGE_OLIVE : stage;
    default:
        return stage;
    }
}
