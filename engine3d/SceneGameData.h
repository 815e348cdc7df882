#pragma once
#include <cstdint>

#include "core/Vector3.h"
#include "core/WorldData.h"

// The game data fields that scene objects read and write. The game's data record (CGameData)
// derives from this block, and the game world stores both views of the record in the data
// block, so the engine reaches these fields without knowing the rest of the record.
struct CSceneGameData {
    uint32_t m_nElementTotal;  // scene parts loaded; each description adds its part count
    Matrix4 m_matView[2];      // scene to the 1024 x 768 virtual screen; [1] for parts flagged 0x40
    uint32_t m_nLanguage;      // language index, 0 "en" .. 11 "sv"
};

// The scene fields of the data block's game data; null when there is none.
inline CSceneGameData* GetSceneGameData(const CWorldData* data)
{
    return data ? data->sceneGameData : nullptr;
}
