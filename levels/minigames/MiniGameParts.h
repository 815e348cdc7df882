#pragma once
#include <algorithm>
#include <cstdint>

#include "engine3d/SceneObject3D.h"
#include "game/LevelRecord.h"

constexpr uint32_t kNameBytes = 260;
constexpr uint32_t kNoScene = 0xFFFFFFFFu;

struct CPoint3 {
    float x, y, z;
};

// The board part, the mask part and the buttons a mini-game's description places (level-wide);
// no part until read.
template <uint32_t N>
struct CMiniGameLayout {
    uint32_t maskPart = kNoPart;
    uint32_t boardPart = kNoPart;
    uint32_t buttonParts[N];
    CPoint3 buttonPositions[N];

    CMiniGameLayout() { std::fill(std::begin(buttonParts), std::end(buttonParts), kNoPart); }
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
