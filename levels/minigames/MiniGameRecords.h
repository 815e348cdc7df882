#pragma once
#include <cstdint>
#include <memory>

#include "engine3d/SceneObject3D.h"
#include "game/LevelRecord.h"
#include "levels/minigames/SlidingBoard.h"

constexpr uint32_t kNameBytes = 260;
constexpr uint32_t kNoScene = 0xFFFFFFFFu;
constexpr uint32_t kJigsawButtonCount = 21;
constexpr uint32_t kSlidingButtonCount = 9;

struct CPoint3 {
    float x, y, z;
};

// The board part, the mask part and the buttons a mini-game's description places (level-wide).
template <uint32_t N>
struct CMiniGameLayout {
    uint32_t maskPart = kNoPart;
    uint32_t boardPart = kNoPart;
    uint32_t buttonParts[N];
    CPoint3 buttonPositions[N];
};

// Where a solved board leads, and its sounds.
struct CMiniGameExit {
    uint32_t reloadArgument;
    uint32_t nextScene;
    uint32_t extraValue;
    uint16_t moveSound;
    uint16_t solvedSound;
    uint16_t hintReward;
};

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

// One kind of SHOOT target.
struct CShootEntry {
    int32_t escapePoints;
    int32_t hitPoints;
    uint16_t hitSound;
    float fadeInSeconds;
    float vanishSeconds;
    CLevelPopupGroup explainPopup;
    uint8_t sampleTarget;
};

struct CLevelShootRecord : CLevelRecord {
    uint8_t gridMode;
    uint8_t gridColumns;
    uint8_t gridRows;
    float gridOffsetY;
    char targetTextureName[kNameBytes];
    uint8_t minSpawnSeconds, maxSpawnSeconds, maxWave, minLifeSeconds, maxLifeSeconds;
    uint32_t value2FC;
    int32_t winArgument;
    int32_t winTargetScene;
    uint32_t value2CC;
    int32_t goal;
    int32_t hintPoints;
    int32_t loseThreshold;
    float hintLabelSeconds;
    uint16_t missSound;
    uint16_t wonSound;
    uint8_t entryCount;
    std::unique_ptr<CShootEntry[]> entries;
    std::unique_ptr<uint8_t[]> entryOfTarget;  // one per target
    CLevelPopupGroup losePopup;
    uint16_t winHints;
    std::unique_ptr<CPoint3[]> cellPoints;  // run time: gridColumns x gridRows
};
