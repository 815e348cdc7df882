#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Stream.h"
#include "levels/minigames/MiniGameParts.h"
#include "levels/sliding/SlidingBoard.h"

constexpr uint32_t kSlidingButtonCount = 9;

struct CLevelSlidingRecord : CLevelRecord {
    uint16_t pictureColumns;
    uint16_t pictureRows;
    std::unique_ptr<uint16_t[]> tileMap;
    uint16_t shapeCount;
    std::unique_ptr<SlidingShape[]> shapes;
    uint16_t gridColumns;
    uint16_t gridRows;
    std::unique_ptr<SlidingCell[]> layouts[2];  // A, then the easier B
    uint32_t exitDirections[2];                  // 1 up, 2 down, 3 left, 4 right
    char pictureName[kNameBytes];
    CMiniGameExit exit;
};

// A record's own part of the description; refuses layouts that break the sliding rules.
Result ReadSlidingRecord(CStream& stream, CLevelSlidingRecord& record);
