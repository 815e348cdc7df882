#pragma once
#include <cstdint>
#include <memory>

#include "game/GameLevel.h"

class C3DEngine;
struct CWorldData;

// Makes a level or a level object of one type; null on failure. Arguments: the engine data
// block, the 3D engine and the index in the world's array.
using LevelMaker = CGameLevel* (*)(CWorldData* data, C3DEngine* engine, uint32_t id);
using LevelObjectMaker = CSceneObject3D* (*)(CWorldData* data, C3DEngine* engine, uint32_t id);

// The makers of the levels (0x4001 to 0x4004) and of the level objects (timer 0x8002, labels
// 0x8003, tooltip 0x8004) by type code. A higher layer fills it; the world makes every level
// and level object through it.
class CLevelFactory {
public:
    // False for a type outside the maker's range.
    bool SetLevelMaker(uint32_t type, LevelMaker maker);
    bool SetObjectMaker(uint32_t type, LevelObjectMaker maker);

    // Null for a type without a maker, or when the maker fails.
    std::unique_ptr<CGameLevel> MakeLevel(uint32_t type, CWorldData* data, C3DEngine* engine, uint32_t id) const;
    std::unique_ptr<CSceneObject3D> MakeObject(uint32_t type, CWorldData* data, C3DEngine* engine,
                                               uint32_t id) const;

private:
    static constexpr uint32_t kFirstLevelType = kLevelTypeHiddenObject;
    static constexpr uint32_t kFirstObjectType = kSceneTypeTimer;

    LevelMaker m_levelMakers[4] = {};         // 0x4001 to 0x4004
    LevelObjectMaker m_objectMakers[3] = {};  // 0x8002 to 0x8004
};
