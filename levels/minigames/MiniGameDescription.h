#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "core/Stream.h"
#include "levels/minigames/MiniGameRecords.h"

// Readers of the mini-games' parts of a level description, after the base part. Each refuses
// (RES_FAIL) a short read and data the game can't play: part indexes past the part count (or
// not -1), counts past the stream's end, grids and indexes outside their tables.

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

// The mask part, the board part, N button parts and N button positions.
template <uint32_t N>
Result ReadMiniGameLayout(CStream& stream, CMiniGameLayout<N>& layout, uint32_t partCount);
Result ReadJigsawRecord(CStream& stream, CLevelJigsawRecord& record);
Result ReadSlidingRecord(CStream& stream, CLevelSlidingRecord& record);
Result ReadShootTargets(CStream& stream, CShootTargets& targets, uint32_t partCount);
Result ReadShootRecord(CStream& stream, CLevelShootRecord& record, const CShootTargets& targets);
