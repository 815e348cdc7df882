#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <new>

#include "game/GameLevel.h"

class C3DEngine;
struct CWorldData;

// Makes a level or a level object of one type; null on failure. Arguments: the engine data
// block, the 3D engine and the index in the world's array.
using LevelMaker = CGameLevel* (*)(CWorldData* data, C3DEngine* engine, uint32_t id);
using LevelObjectMaker = CSceneObject3D* (*)(CWorldData* data, C3DEngine* engine, uint32_t id);

// The makers of the levels (types past the level base, 0x4001 on) and of the level objects
// (types past the layered menu: timer 0x8002, labels 0x8003, tooltip 0x8004) by type code. A
// higher layer registers them; the world makes every level and level object through it.
class CLevelFactory {
public:
    // False for a type outside the maker's range.
    bool SetLevelMaker(uint32_t type, LevelMaker maker);
    bool SetObjectMaker(uint32_t type, LevelObjectMaker maker);

    // Registers Level (made from the data block, the engine and the index) for the type.
    template <typename Level>
    bool AddLevel(uint32_t type)
    {
        return SetLevelMaker(type, [](CWorldData* data, C3DEngine* engine, uint32_t id) -> CGameLevel* {
            return new (std::nothrow) Level(data, engine, id);
        });
    }
    template <typename Object>
    bool AddObject(uint32_t type)
    {
        return SetObjectMaker(type, [](CWorldData* data, C3DEngine* engine, uint32_t id) -> CSceneObject3D* {
            return new (std::nothrow) Object(data, engine, id);
        });
    }

    // Null for a type without a maker, or when the maker fails.
    std::unique_ptr<CGameLevel> MakeLevel(uint32_t type, CWorldData* data, C3DEngine* engine, uint32_t id) const;
    std::unique_ptr<CSceneObject3D> MakeObject(uint32_t type, CWorldData* data, C3DEngine* engine,
                                               uint32_t id) const;

private:
    std::map<uint32_t, LevelMaker> m_levelMakers;
    std::map<uint32_t, LevelObjectMaker> m_objectMakers;
};
