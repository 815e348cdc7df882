#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Stream.h"
#include "levels/minigames/MiniGameParts.h"

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

struct CShootTarget {
    uint32_t part;
    uint8_t usable;
    uint8_t pad[3];
};

// The SHOOT level's targets, their model points and the counter's point.
struct CShootTargets {
    uint32_t count = 0;
    std::unique_ptr<CShootTarget[]> targets;
    std::unique_ptr<CPoint3[]> points;
    float counterX = 0.0f;
    float counterY = 0.0f;
};

// The level-wide targets, before the records; at least one usable, each on a part or none.
Result ReadShootTargets(CStream& stream, CShootTargets& targets, uint32_t partCount);
// A record's own part, whose entries name the targets.
Result ReadShootRecord(CStream& stream, CLevelShootRecord& record, const CShootTargets& targets);
