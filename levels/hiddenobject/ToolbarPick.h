#pragma once
#include <cstdint>
#include <memory>

#include "base/Result.h"

class CSceneObject3D;
struct CRandomMT;

// One toolbar place: an item id and how many parts carry it; count 0 leaves the place empty.
struct CPickedItem {
    uint32_t id;
    uint32_t count;
};

struct CPickedItems {
    std::unique_ptr<CPickedItem[]> places;
    uint32_t count = 0;
};

// The distinct item ids of the parts that are clickable, not disabled, do not toggle and have
// the phase, walked in the scene's part order, in order of first appearance with their counts.
// Parts without an item are left out.
Result GatherItems(const CSceneObject3D& scene, uint32_t phase, CPickedItems& out);

// Keeps kept of the items at random: the ones past kept are dropped at random, the others
// placed at random among kept places (a taken place gives way to the lowest free one below it,
// else the first free one above). Places left over stay empty.
Result PickAtRandom(CPickedItems& items, uint32_t kept, CRandomMT& random);

// A random index below n that taken (n flags) does not hold: at most 64 draws, then the lowest
// free one. n when every index is taken.
uint32_t DrawFreeIndex(CRandomMT& random, uint32_t n, const bool* taken);
