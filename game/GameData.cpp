#include "game/GameData.h"

#include "core/WorldData.h"

CSceneGameData* GetSceneGameData(const CWorldData* data)
{
    return data ? static_cast<CSceneGameData*>(data->gameData) : nullptr;
}
