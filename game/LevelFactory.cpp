#include "game/LevelFactory.h"

namespace {

// The slot of type in a range of count types from first; count when outside.
uint32_t SlotOf(uint32_t type, uint32_t first, uint32_t count)
{
    return type >= first && type - first < count ? type - first : count;
}

} // namespace

bool CLevelFactory::SetLevelMaker(uint32_t type, LevelMaker maker)
{
    uint32_t slot = SlotOf(type, kFirstLevelType, kLevelTypeCount);
    if (slot == kLevelTypeCount)
        return false;
    m_levelMakers[slot] = maker;
    return true;
}

bool CLevelFactory::SetObjectMaker(uint32_t type, LevelObjectMaker maker)
{
    uint32_t slot = SlotOf(type, kFirstObjectType, kObjectTypeCount);
    if (slot == kObjectTypeCount)
        return false;
    m_objectMakers[slot] = maker;
    return true;
}

std::unique_ptr<CGameLevel> CLevelFactory::MakeLevel(uint32_t type, CWorldData* data, C3DEngine* engine,
                                                     uint32_t id) const
{
    uint32_t slot = SlotOf(type, kFirstLevelType, kLevelTypeCount);
    if (slot == kLevelTypeCount || !m_levelMakers[slot])
        return nullptr;
    return std::unique_ptr<CGameLevel>(m_levelMakers[slot](data, engine, id));
}

std::unique_ptr<CSceneObject3D> CLevelFactory::MakeObject(uint32_t type, CWorldData* data, C3DEngine* engine,
                                                          uint32_t id) const
{
    uint32_t slot = SlotOf(type, kFirstObjectType, kObjectTypeCount);
    if (slot == kObjectTypeCount || !m_objectMakers[slot])
        return nullptr;
    return std::unique_ptr<CSceneObject3D>(m_objectMakers[slot](data, engine, id));
}
