#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Stream.h"
#include "levels/minigames/MiniGameParts.h"

constexpr uint32_t kJigsawButtonCount = 21;

struct CLevelJigsawRecord : CLevelRecord {
    uint8_t columns;
    uint8_t rows;
    std::unique_ptr<uint8_t[]> columnMarks;
    std::unique_ptr<uint8_t[]> rowMarks;
    uint16_t holePiece;
    uint16_t modeFlags;
    uint32_t selectColour;
    uint8_t shuffleCount;
    char frontTextureName[kNameBytes];
    char backTextureName[kNameBytes];
    uint8_t showPicture;
    CMiniGameExit exit;
};

// A record's own part of the description; refuses a board the game can't play.
Result ReadJigsawRecord(CStream& stream, CLevelJigsawRecord& record);
