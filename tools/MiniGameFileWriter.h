#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "levels/jigsaw/JigsawBoard.h"
#include "levels/jigsaw/JigsawRecord.h"
#include "levels/minigames/MiniGameParts.h"
#include "levels/sliding/SlidingRecord.h"
#include "tools/LevelFileWriter.h"

// Models and writers of the mini-games' level descriptions: the level base's part (LevelBody)
// followed by the JIGSAW, SLIDING or SHOOT part. A model with fewer type records than level
// records writes default ones for the rest.

struct CMiniGameExitModel {
    uint32_t reloadArgument = kNoScene;
    uint32_t nextScene = kNoScene;
    uint32_t extraValue = 0;
    uint16_t moveSound = kNoSound;
    uint16_t solvedSound = kNoSound;
    uint16_t hintReward = 0;
};

template <size_t N>
struct CMiniGameLayoutModel {
    uint32_t maskPart = kNoPart;
    uint32_t boardPart = kNoPart;
    std::array<uint32_t, N> buttonParts = Filled(kNoPart);
    std::array<CPoint3, N> buttonPositions{};

    static std::array<uint32_t, N> Filled(uint32_t value)
    {
        std::array<uint32_t, N> parts;
        parts.fill(value);
        return parts;
    }
};

struct CJigsawRecordModel {
    uint8_t columns = 2;
    uint8_t rows = 1;
    std::vector<uint8_t> columnMarks;  // padded with 0 to columns
    std::vector<uint8_t> rowMarks;     // padded with 0 to rows
    uint16_t holePiece = kNoHole;
    uint16_t modeFlags = kJigsawSwap;
    uint32_t selectColour = 0xFF80FF80u;
    uint8_t shuffleCount = 1;
    std::string frontTextureName;
    std::string backTextureName;
    uint8_t showPicture = 0;
    CMiniGameExitModel exit;
};

struct CJigsawModel {
    CLevelModel level;
    CMiniGameLayoutModel<kJigsawButtonCount> layout;
    std::vector<CJigsawRecordModel> records;
};

struct CSlidingShapeModel {
    std::vector<SlidingOffset> offsets;
    uint8_t moveFlags = kSlideAlongRows;
};

struct CSlidingRecordModel {
    uint16_t pictureColumns = 1;
    uint16_t pictureRows = 1;
    std::vector<uint16_t> tileMap;  // padded with 1 to the picture's tiles
    std::vector<CSlidingShapeModel> shapes;
    uint16_t gridColumns = 1;
    uint16_t gridRows = 1;
    std::vector<SlidingCell> layouts[2];  // padded with empty cells
    uint32_t exitDirections[2] = {4, 4};
    std::string pictureName;
    CMiniGameExitModel exit;

    // Puts shape's piece with its anchor at (x, y) into layout which; its cells take tiles from
    // firstTile on. Cells outside the grid are left out.
    void Place(int which, uint16_t shape, int16_t x, int16_t y, int16_t pieceId, int16_t firstTile, bool key);
    void MarkTarget(int which, uint16_t column, uint16_t row);
};

struct CSlidingModel {
    CLevelModel level;
    CMiniGameLayoutModel<kSlidingButtonCount> layout;
    std::vector<CSlidingRecordModel> records;
};

struct CShootTargetModel {
    uint32_t part = 0;
    uint8_t usable = 1;
    CPoint3 point{};
    uint8_t entry = 0;  // its entry in records without an entryOfTarget of their own
};

struct CShootEntryModel {
    int32_t escapePoints = 0;
    int32_t hitPoints = 1;
    uint16_t hitSound = kNoSound;
    float fadeInSeconds = 1.0f;
    float vanishSeconds = 1.0f;
    CPopupGroupModel explainPopup;
    uint8_t sampleTarget = 0xFF;
};

struct CShootRecordModel {
    uint8_t gridMode = 0;
    uint8_t gridColumns = 0;
    uint8_t gridRows = 0;
    float gridOffsetY = 0.0f;
    std::string targetTextureName;
    uint8_t minSpawnSeconds = 1, maxSpawnSeconds = 2, maxWave = 2, minLifeSeconds = 1, maxLifeSeconds = 2;
    uint32_t value2FC = 0;
    int32_t winArgument = -1;
    int32_t winTargetScene = -1;
    uint32_t value2CC = 0;
    int32_t goal = 3;
    int32_t hintPoints = 0;
    int32_t loseThreshold = -3;
    float hintLabelSeconds = 1.0f;
    uint16_t missSound = kNoSound;
    uint16_t wonSound = kNoSound;
    std::vector<CShootEntryModel> entries{CShootEntryModel{}};
    std::vector<uint8_t> entryOfTarget;
    CPopupGroupModel losePopup;
    uint16_t winHints = 0;
};

struct CShootModel {
    CLevelModel level;
    std::vector<CShootTargetModel> targets;
    float counterX = 0.0f;
    float counterY = 0.0f;
    std::vector<CShootRecordModel> records;
};

std::string JigsawBody(const CJigsawModel& model);
std::string SlidingBody(const CSlidingModel& model);
std::string ShootBody(const CShootModel& model);
